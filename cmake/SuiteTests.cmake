# Run after a test program is built: lists its tests and writes the CTest file that runs them, one
# process per test suite (a process start of a sanitized test program costs far more than most tests
# take). Suites matching ISOLATE run one process per test, so that long stories spread over the cores.
# Inputs: BIN (the program), WORKDIR, OUT (the file written), ISOLATE (a regular expression), TIMEOUT.
execute_process(COMMAND "${BIN}" --gtest_list_tests WORKING_DIRECTORY "${WORKDIR}" TIMEOUT 120
                OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${BIN} --gtest_list_tests failed (${status}):\n${errors}")
endif()

string(REPLACE ";" "\\;" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
set(suite "")
set(isolated FALSE)
set(script "")
set(count 0)
foreach(line IN LISTS lines)
  string(REGEX REPLACE " *#.*" "" line "${line}")
  set(name "")
  if(line MATCHES "^([A-Za-z0-9_/]+)\\.$")
    set(suite "${CMAKE_MATCH_1}")
    if(suite MATCHES "${ISOLATE}")
      set(isolated TRUE)
    else()
      set(isolated FALSE)
      set(name "${suite}")
      set(filter "${suite}.*")
    endif()
  elseif(line MATCHES "^  ([A-Za-z0-9_/]+)$")
    if(isolated)
      set(name "${suite}.${CMAKE_MATCH_1}")
      set(filter "${name}")
    endif()
  endif()
  if(name)
    # A story of a real program runs its display server, a window manager and the sanitized program:
    # it counts as two processors, so that a full parallel run does not starve the stories' waits.
    set(processors 1)
    if(isolated)
      set(processors 2)
    endif()
    string(APPEND script "add_test([=[${name}]=] [==[${BIN}]==] [==[--gtest_filter=${filter}]==])\n"
           "set_tests_properties([=[${name}]=] PROPERTIES WORKING_DIRECTORY [==[${WORKDIR}]==] TIMEOUT ${TIMEOUT}"
           " PROCESSORS ${processors})\n")
    math(EXPR count "${count} + 1")
  endif()
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "${BIN} lists no tests")
endif()
file(WRITE "${OUT}" "${script}")
