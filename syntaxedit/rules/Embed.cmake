# cmake -DOUTPUT=header -DSCRIPT=file -DCOMPILED=file -P Embed.cmake
# Puts the SQL rule script and its compiled form into a header as byte
# arrays, byte for byte (a raw string would lose the CR line ends).
set(text "// Made by the build from the SQL rule script and its compiled form.\n#pragma once\n")
foreach(pair "SqlRulesScript;${SCRIPT}" "SqlRulesCompiled;${COMPILED}")
  list(GET pair 0 name)
  list(GET pair 1 file)
  file(READ ${file} hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND text "inline const unsigned char ${name}[] = {${bytes}};\n")
  string(APPEND text "inline constexpr unsigned ${name}Size = ${size};\n")
endforeach()
file(WRITE ${OUTPUT}.new "${text}")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
