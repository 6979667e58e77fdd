# SPDX-License-Identifier: MIT
# Compiler settings shared by the library, its tests, benchmarks and examples.
#
# The numerical results are defined bit for bit, so floating-point contraction (fused
# multiply-add) is switched off everywhere and fast-math is never used. On 32-bit x86 the x87
# unit would keep excess precision in registers; SSE2 arithmetic gives plain IEEE doubles.
function(kocalvix_set_compile_options target)
    # Every target is C++17, whatever the compiler's default (Clang 14 defaults to C++14).
    target_compile_features(${target} PRIVATE cxx_std_17)
    if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        target_compile_options(${target} PRIVATE
            -Wall -Wextra -Wpedantic -ffp-contract=off -fno-fast-math)
        if(CMAKE_SIZEOF_VOID_P EQUAL 4)
            target_compile_options(${target} PRIVATE -msse2 -mfpmath=sse)
        endif()
        if(KOCALVIX_WARNINGS_AS_ERRORS)
            target_compile_options(${target} PRIVATE -Werror)
        endif()
    elseif(MSVC)
        target_compile_options(${target} PRIVATE /W4 /fp:precise /permissive-)
        if(KOCALVIX_WARNINGS_AS_ERRORS)
            target_compile_options(${target} PRIVATE /WX)
        endif()
    endif()
    if(KOCALVIX_SANITIZE AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        target_compile_options(${target} PRIVATE
            -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    endif()
    if(KOCALVIX_SANITIZE_THREAD AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        target_compile_options(${target} PRIVATE -fsanitize=thread -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=thread)
    endif()
    if(KOCALVIX_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        # Coverage instrumentation for libFuzzer; the fuzz target itself links -fsanitize=fuzzer.
        target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link)
    endif()
endfunction()
