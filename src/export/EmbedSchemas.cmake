# Build step (cmake -P): writes OUTPUT, a C++ source that carries the two export
# schemas of data/ as they stand, so that the export never depends on finding them.
# Variables: NDFL3, NDFL4 (the .xsd files) and OUTPUT.
file(READ ${NDFL3} ndfl3)
file(READ ${NDFL4} ndfl4)
foreach(text IN ITEMS "${ndfl3}" "${ndfl4}")
  string(FIND "${text}" ")xsd\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "a schema holds the raw-string delimiter )xsd\"")
  endif()
endforeach()
file(WRITE ${OUTPUT}.tmp
  "// Generated from data/*.xsd by src/export/EmbedSchemas.cmake; do not edit.\n"
  "#include \"export/SchemaText.h\"\n\n"
  "namespace kv {\n\n"
  "const char* const kSchemaNdfl3 = R\"xsd(${ndfl3})xsd\";\n\n"
  "const char* const kSchemaNdfl4 = R\"xsd(${ndfl4})xsd\";\n\n"
  "} // namespace kv\n")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
