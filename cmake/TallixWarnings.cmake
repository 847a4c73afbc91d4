# Warnings for our own targets only; third-party headers stay quiet.
function(tallix_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
    -Wno-sign-conversion $<$<BOOL:${TALLIX_WERROR}>:-Werror>)
endfunction()
