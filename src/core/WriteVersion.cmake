# Writes Version.h with the version and the commit the sources are at; run
# at every build, it rewrites the header only when the commit changed.
#   cmake -DSOURCE=... -DOUTPUT=... -DPROJECT_VERSION=... -DGIT_DIR=... -P WriteVersion.cmake
execute_process(COMMAND git describe --always --dirty --abbrev=12
                WORKING_DIRECTORY ${GIT_DIR}
                OUTPUT_VARIABLE DYE_COMMIT OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT DYE_COMMIT)
    set(DYE_COMMIT unknown)
endif()
configure_file(${SOURCE} ${OUTPUT} @ONLY)
