# Our own targets build with every warning and treat each one as an error.
function(kelvane_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
endfunction()
