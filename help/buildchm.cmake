# Compiles the help pages into Trevana2023.chm. The pages are kept in UTF-8 for editing; the
# compiled file carries them in GBK (code page 936, declared as gb2312), the Chinese code page
# that the help viewers of the CHM format expect for a Chinese (0x804) help file.
#
# Inputs (-D): SOURCE_DIR, STAGE_DIR, OUTPUT, ICONV, CHMCMD, PAGES (names joined by "|").
cmake_minimum_required(VERSION 3.25)

string(REPLACE "|" ";" pages "${PAGES}")
set(chmName Trevana2023.chm)

function(ToGbk name text)
  string(REPLACE "charset=utf-8" "charset=gb2312" text "${text}")
  file(WRITE "${STAGE_DIR}/${name}.utf8" "${text}")
  execute_process(
    COMMAND "${ICONV}" -f UTF-8 -t GBK "${STAGE_DIR}/${name}.utf8"
    OUTPUT_FILE "${STAGE_DIR}/${name}"
    ERROR_VARIABLE problem
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${name} has text that GBK cannot hold: ${problem}")
  endif()
  file(REMOVE "${STAGE_DIR}/${name}.utf8")
endfunction()

file(REMOVE_RECURSE "${STAGE_DIR}")
file(MAKE_DIRECTORY "${STAGE_DIR}")
foreach(name IN LISTS pages ITEMS toc.hhc index.hhk help.css)
  file(READ "${SOURCE_DIR}/${name}" text)
  ToGbk("${name}" "${text}")
endforeach()

# The compiler writes into the stage; only a finished file is copied out, so a failed build
# never leaves a truncated help file beside the program.
file(READ "${SOURCE_DIR}/Trevana2023.hhp.in" project)
string(REPLACE ";" "\n" pageLines "${pages}")
string(REPLACE "@HELP_PAGES@" "${pageLines}" project "${project}")
string(REPLACE "@HELP_CHM_FILE@" "${chmName}" project "${project}")
ToGbk(Trevana2023.hhp "${project}")

execute_process(
  COMMAND "${CHMCMD}" --verbosity 1 Trevana2023.hhp
  WORKING_DIRECTORY "${STAGE_DIR}"
  OUTPUT_VARIABLE log
  ERROR_VARIABLE log
  RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT EXISTS "${STAGE_DIR}/${chmName}")
  message(FATAL_ERROR "chmcmd failed (${status}):\n${log}")
endif()
file(READ "${STAGE_DIR}/${chmName}" signature LIMIT 4 HEX)
if(NOT signature STREQUAL "49545346")  # "ITSF"
  message(FATAL_ERROR "chmcmd wrote something that is not a CHM file")
endif()
file(COPY_FILE "${STAGE_DIR}/${chmName}" "${OUTPUT}.part")
file(RENAME "${OUTPUT}.part" "${OUTPUT}")
