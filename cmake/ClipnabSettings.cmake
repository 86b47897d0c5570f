# One INTERFACE target carries the compiler settings for every target of the project.
add_library(clipnab_settings INTERFACE)
target_compile_features(clipnab_settings INTERFACE cxx_std_20)
# -ffp-contract=off: no fused multiply-add, so the single-precision gradient steps round the same
# on every machine and compiler and the rendered pixels stay exact.
target_compile_options(clipnab_settings INTERFACE -Wall -Wextra -pedantic -Wshadow -Wconversion
    -Wsign-conversion -Wold-style-cast -Woverloaded-virtual -Wnon-virtual-dtor -ffp-contract=off)
target_compile_definitions(clipnab_settings INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_CONTEXTLESS_CONNECT
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_USE_QSTRINGBUILDER
    QT_NO_KEYWORDS)
target_include_directories(clipnab_settings INTERFACE ${PROJECT_SOURCE_DIR}/src)

# Warnings fail the build; CI turns this on, a developer may too.
option(CLIPNAB_WERROR "Treat compiler warnings as errors" OFF)
if(CLIPNAB_WERROR)
    target_compile_options(clipnab_settings INTERFACE -Werror)
endif()

# `make sanitize` builds with AddressSanitizer and UndefinedBehaviorSanitizer; any finding
# stops the test that made it.
option(CLIPNAB_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(CLIPNAB_SANITIZE)
    set(CLIPNAB_SANITIZE_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined
        -fno-omit-frame-pointer)
    target_compile_options(clipnab_settings INTERFACE ${CLIPNAB_SANITIZE_FLAGS})
    target_link_options(clipnab_settings INTERFACE ${CLIPNAB_SANITIZE_FLAGS})
endif()
