# Turns the default host's fixture into a C++ source file:
#   cmake -DINPUT=default_host.json -DOUTPUT=default_host_data.cc -P embed_fixture.cmake
file(READ "${INPUT}" content)
string(FIND "${content}" ")fixture\"" clash)
if(NOT clash EQUAL -1)
  message(FATAL_ERROR "${INPUT} contains the raw-string delimiter")
endif()
file(WRITE "${OUTPUT}"
  "// Generated from default_host.json by embed_fixture.cmake; do not edit.\n"
  "namespace HostCtl {\nnamespace Sim {\n"
  "extern const char kDefaultHostJson[];\n"
  "const char kDefaultHostJson[] = R\"fixture(${content})fixture\";\n"
  "}  // namespace Sim\n}  // namespace HostCtl\n")
