# Run after a shipped module is linked: measures it as it ships (stripped) and
# fails the build when it grows past its limit; past the target it warns.
#   cmake -DMODULE=<file> -DSTRIP=<strip tool> -DTARGET_KB=<n> -DLIMIT_KB=<n> -P CheckModuleSize.cmake
get_filename_component(name "${MODULE}" NAME)
set(stripped "${MODULE}.stripped")
execute_process(COMMAND "${STRIP}" --strip-all -o "${stripped}" "${MODULE}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${name}: could not strip a copy to measure")
endif()
file(SIZE "${stripped}" bytes)
file(REMOVE "${stripped}")
math(EXPR kb "(${bytes} + 1023) / 1024")
if(kb GREATER LIMIT_KB)
  message(FATAL_ERROR "${name} is ${kb} KB stripped, past its limit of ${LIMIT_KB} KB (target ${TARGET_KB} KB)")
elseif(kb GREATER TARGET_KB)
  message(WARNING "${name} is ${kb} KB stripped, over its target of ${TARGET_KB} KB")
else()
  message(STATUS "${name}: ${kb} KB stripped (target ${TARGET_KB} KB)")
endif()
