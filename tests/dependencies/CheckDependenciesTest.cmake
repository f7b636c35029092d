# Runs the folder dependency check on a tree that breaks each of its rules once and requires
# the run to fail naming every broken rule.
execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${TREE} -P ${CHECKER}
                RESULT_VARIABLE result ERROR_VARIABLE report)
if(result EQUAL 0)
  message(FATAL_ERROR "the check passed a tree that breaks its rules:\n${report}")
endif()
set(expected
    "a: A.h include from `d`, which its README does not name"
    "a: A.h include from `Qt`, which its README does not name"
    "a/README.md: names `c`, which no file of a includes from"
    "b/README.md: `nothere` is neither a folder nor a known library"
    "c: no README.md"
    "d/README.md: no \"Depends on:\" line")
foreach(line ${expected})
  string(FIND "${report}" "${line}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "missing from the report: ${line}\nreport:\n${report}")
  endif()
endforeach()
string(FIND "${report}" "6 folder dependency rules broken" at)
if(at EQUAL -1)
  message(FATAL_ERROR "a count other than the tree's six faults:\n${report}")
endif()
