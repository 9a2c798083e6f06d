# Writes xelimg.1 with help2man: the overview from `xelimg --help`, a COMMANDS section with each
# command's own --help, found from the overview's command list, and the sections the help texts do
# not hold (synopsis, option syntax, exit status, environment, files, examples) from SECTIONS.
#   cmake -DXELIMG=... -DHELP2MAN=... -DSECTIONS=... -DOUTPUT=... -P man_page.cmake
execute_process(COMMAND ${XELIMG} --help OUTPUT_VARIABLE overview COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "\n  [a-z]+ " command_lines "${overview}")
set(include_text "[COMMANDS]\n")
foreach(line IN LISTS command_lines)
  string(STRIP "${line}" command)
  execute_process(COMMAND ${XELIMG} ${command} --help OUTPUT_VARIABLE help COMMAND_ERROR_IS_FATAL ANY)
  # roff: a leading dot or quote would start a request, a backslash an escape.
  string(REPLACE "\\" "\\e" help "${help}")
  string(REGEX REPLACE "\n([.'])" "\n\\\\&\\1" help "${help}")
  string(APPEND include_text ".SS ${command}\n.nf\n${help}.fi\n")
endforeach()
get_filename_component(dir ${OUTPUT} DIRECTORY)
file(WRITE ${dir}/xelimg.h2m "${include_text}")
execute_process(COMMAND ${HELP2MAN} --no-info --no-discard-stderr
                        --name "pseudo colour and temperature readings from greyscale images"
                        --include ${dir}/xelimg.h2m --include ${SECTIONS} --output ${OUTPUT} ${XELIMG}
                COMMAND_ERROR_IS_FATAL ANY)
