# Copies FILES, and REAL_IPHLPAPI as REAL_IPHLPAPI_NAME, into DESTINATION. A changed file is
# written beside its target and renamed over it, so Wine processes that have the old DLL mapped
# keep their copy intact.
function(install_file source name)
    set(target ${DESTINATION}/${name})
    if(EXISTS ${target})
        file(SHA256 ${source} new_hash)
        file(SHA256 ${target} old_hash)
        if(new_hash STREQUAL old_hash)
            return()
        endif()
    endif()
    file(COPY_FILE ${source} ${target}.new)
    file(RENAME ${target}.new ${target})
endfunction()

cmake_minimum_required(VERSION 3.25)
file(MAKE_DIRECTORY ${DESTINATION})
foreach(source ${FILES})
    get_filename_component(name ${source} NAME)
    install_file(${source} ${name})
endforeach()
install_file(${REAL_IPHLPAPI} ${REAL_IPHLPAPI_NAME})
