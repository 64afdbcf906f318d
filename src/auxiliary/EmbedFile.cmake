# cmake -DINPUT=<file> -DOUTPUT=<source.cpp> -P EmbedFile.cmake
# Writes a C++ source whose SkinEngineImage() returns the bytes of INPUT.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
# Sixteen bytes a line (CMake's expressions have no counted repeats, hence the spelled-out pattern).
string(REPEAT "[0-9a-f]" 32 line)
string(REGEX REPLACE "(${line})" "\\1\n" hex "${hex}")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${INPUT} at build time; do not edit.\n"
  "#include \"auxiliary/SkinEngineImage.h\"\n\n"
  "namespace tarvolin {\n"
  "namespace {\n"
  "constexpr unsigned char kImage[${size}] = {\n${bytes}\n};\n"
  "}  // namespace\n\n"
  "std::string_view SkinEngineImage() { return {reinterpret_cast<const char*>(kImage), sizeof kImage}; }\n\n"
  "}  // namespace tarvolin\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
