# Warnings and the floating-point model shared by every target.

add_compile_options(-Wall -Wextra -Wpedantic)
if(TARVELIN_WARNINGS_AS_ERRORS)
  add_compile_options(-Werror)
endif()

# Every build must compute the same doubles: no fused multiply-add, no
# fast-math, and SSE2 doubles rather than x87 on 32-bit x86.
add_compile_options(-ffp-contract=off -fno-fast-math)
if(CMAKE_SIZEOF_VOID_P EQUAL 4 AND CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86|i[3-6]86|AMD64|x86_64)$")
  add_compile_options(-msse2 -mfpmath=sse)
endif()
if(WIN32)
  # The host calls in with only 4-byte stack alignment.
  add_compile_options(-mstackrealign)
endif()

# AddressSanitizer and UndefinedBehaviorSanitizer over everything, the module
# file included, so a test that drives it through the stand-in host stops at
# the first fault.
option(TARVELIN_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(TARVELIN_SANITIZE)
  set(tarvelin_sanitizer_flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${tarvelin_sanitizer_flags})
  add_link_options(${tarvelin_sanitizer_flags})
endif()
