# One INTERFACE target carries the compiler settings for every target of the project.
add_library(clipnab_settings INTERFACE)
target_compile_features(clipnab_settings INTERFACE cxx_std_20)
target_compile_options(clipnab_settings INTERFACE -Wall -Wextra -pedantic -ffp-contract=off)
target_compile_definitions(clipnab_settings INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CONTEXTLESS_CONNECT
    QT_USE_QSTRINGBUILDER
    QT_NO_KEYWORDS)
target_include_directories(clipnab_settings INTERFACE ${PROJECT_SOURCE_DIR}/src)
