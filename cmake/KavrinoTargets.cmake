# The settings every target of the project shares, in one place:
#   C++20 without compiler extensions; -Wall -Wextra (errors with KAVRINO_WERROR);
#   -ffp-contract=off, so that no fused multiply-add changes how a formula rounds: the engine,
#   the integrators, the fits and the predictions compare results to the last bit.
#
# kavrino_target_defaults(<target>)                       applies them to an existing target
# kavrino_add_library(<name> [STATIC|SHARED|OBJECT] <sources...>)   add_library + the settings
# kavrino_add_executable(<name> <sources...>)             add_executable + the settings
function(kavrino_target_defaults target)
    target_compile_features(${target} PUBLIC cxx_std_20)
    set_target_properties(${target} PROPERTIES CXX_EXTENSIONS OFF)
    target_compile_options(${target} PRIVATE -Wall -Wextra -ffp-contract=off)
    if(KAVRINO_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

function(kavrino_add_library name)
    add_library(${name} ${ARGN})
    kavrino_target_defaults(${name})
endfunction()

function(kavrino_add_executable name)
    add_executable(${name} ${ARGN})
    kavrino_target_defaults(${name})
endfunction()
