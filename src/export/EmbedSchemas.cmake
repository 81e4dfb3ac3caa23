# Build step (cmake -P): writes OUTPUT, a C++ source that carries schemas of data/ as
# they stand, so that the program never depends on finding them.
# Variables: SCHEMAS (a list of NAME=FILE, each .xsd in UTF-8 becoming the constant
# kv::NAME), HEADER (the header that declares them) and OUTPUT.
set(body "")
foreach(entry IN LISTS SCHEMAS)
  string(FIND "${entry}" "=" eq)
  string(SUBSTRING "${entry}" 0 ${eq} name)
  math(EXPR from "${eq} + 1")
  string(SUBSTRING "${entry}" ${from} -1 file)
  file(READ ${file} text)
  string(FIND "${text}" ")xsd\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${file} holds the raw-string delimiter )xsd\"")
  endif()
  string(APPEND body "const char* const ${name} = R\"xsd(${text})xsd\";\n\n")
endforeach()
file(WRITE ${OUTPUT}.tmp
  "// Generated from data/*.xsd by src/export/EmbedSchemas.cmake; do not edit.\n"
  "#include \"${HEADER}\"\n\n"
  "namespace kv {\n\n"
  "${body}"
  "} // namespace kv\n")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
