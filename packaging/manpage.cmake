# Writes a man page (section 1) from a program's --help text.
#   cmake -DPROGRAM=... -DNAME=... -DSUMMARY=... -DOUTPUT=... -P manpage.cmake
execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${PROGRAM} --help
                OUTPUT_VARIABLE help RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "${PROGRAM} --help failed: ${failed}")
endif()
string(TOUPPER "${NAME}" upper)
# roff: a backslash is written \e, a line starting with a dot or quote is escaped.
string(REPLACE "\\" "\\e" help "${help}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
file(WRITE ${OUTPUT} ".TH ${upper} 1 \"\" \"${NAME} ${VERSION}\" \"User Commands\"\n"
     ".SH NAME\n${NAME} \\- ${SUMMARY}\n"
     ".SH DESCRIPTION\n.nf\n${help}.fi\n")
