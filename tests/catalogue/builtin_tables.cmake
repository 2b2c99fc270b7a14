# Tests of the built-in tables (src/catalogue/tables); included by this folder's CMakeLists.
if(TARGET qelvo_builtin_tables)
  qelvo_add_test(catalogue_builtin_tables_test
    SOURCES builtin_tables_test.cpp
    LIBS qelvo_catalogue qelvo_builtin_tables)
  qelvo_add_test(catalogue_table_conversion_test
    SOURCES table_conversion_test.cpp
    LIBS qelvo_table_conversion)
endif()
