# One INTERFACE target carries the compiler settings for every target of the project.
add_library(clipnab_settings INTERFACE)
target_compile_features(clipnab_settings INTERFACE cxx_std_20)
target_compile_options(clipnab_settings INTERFACE -Wall -Wextra -pedantic -Wshadow -Wconversion
    -Wsign-conversion -Wold-style-cast -ffp-contract=off)
target_compile_definitions(clipnab_settings INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CONTEXTLESS_CONNECT
    QT_USE_QSTRINGBUILDER
    QT_NO_KEYWORDS)
target_include_directories(clipnab_settings INTERFACE ${PROJECT_SOURCE_DIR}/src)

# `make sanitize` builds with AddressSanitizer and UndefinedBehaviorSanitizer; any finding
# stops the test that made it.
option(CLIPNAB_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(CLIPNAB_SANITIZE)
    set(CLIPNAB_SANITIZE_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined
        -fno-omit-frame-pointer)
    target_compile_options(clipnab_settings INTERFACE ${CLIPNAB_SANITIZE_FLAGS})
    target_link_options(clipnab_settings INTERFACE ${CLIPNAB_SANITIZE_FLAGS})
endif()
