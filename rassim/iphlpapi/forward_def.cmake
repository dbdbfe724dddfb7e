# Writes the .def file of the simulated iphlpapi.dll: the functions in OWN (names as the
# target's compiler decorates them, "GetAdaptersInfo@8" on i686) are its own, every other export of SOURCE is forwarded to TARGET, the
# copy of Wine's IP Helper under another name. Wine's own DLLs import many of those exports.
# Run with cmake -DOBJDUMP=... -DSOURCE=... -DTARGET=... -DOWN=... -DOUTPUT=... -P forward_def.cmake
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${OBJDUMP} -p ${SOURCE} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "${OBJDUMP} cannot read ${SOURCE}")
endif()

string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n([^\n]+\n)+" table "${dump}")
string(REGEX MATCHALL "\\[ *[0-9]+\\] [A-Za-z0-9_@]+" lines "${table}")
# Square brackets group list elements in CMake, so they go before the names become a list.
string(REGEX REPLACE "\\[ *[0-9]+\\] ([A-Za-z0-9_@]+)" "\\1" names "${lines}")
if(NOT names)
    message(FATAL_ERROR "no exports found in ${SOURCE}")
endif()

set(own_names "")
foreach(decorated ${OWN})
    string(REGEX REPLACE "@[0-9]+$" "" name "${decorated}")
    list(APPEND own_names ${name})
    set(own_${name} ${decorated})
endforeach()

set(def "LIBRARY iphlpapi.dll\nEXPORTS\n")
foreach(name ${names})
    if(name IN_LIST own_names)
        string(APPEND def "    ${name} = ${own_${name}}\n")
    else()
        string(APPEND def "    ${name} = ${TARGET}.${name}\n")
    endif()
endforeach()
foreach(name ${own_names})
    if(NOT name IN_LIST names)
        message(FATAL_ERROR "${SOURCE} does not export ${name}")
    endif()
endforeach()
file(WRITE ${OUTPUT} "${def}")
