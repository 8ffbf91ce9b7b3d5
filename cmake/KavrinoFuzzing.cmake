# libFuzzer targets (clang, KAVRINO_FUZZ=ON). In such a build every target is compiled with
# coverage and the address and undefined-behaviour sanitizers (set at the top level), so the
# code a fuzzer reaches is instrumented wherever it lives; the fuzzers add libFuzzer's main.
# `cmake --build <dir> --target kavrino_fuzzers` builds them all.
#
# kavrino_add_fuzzer(<name> SOURCES <files...> LIBS <targets...> [DEFINITIONS <defs...>])
add_custom_target(kavrino_fuzzers)

function(kavrino_add_fuzzer name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;DEFINITIONS" ${ARGN})
    kavrino_add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    target_compile_definitions(${name} PRIVATE ${ARG_DEFINITIONS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    add_dependencies(kavrino_fuzzers ${name})
endfunction()
