# The SQL highlighting rules of the main window: compiled at build time from
# their script by the project's own rule compiler, built for the machine that
# builds (a cross build makes its own host build of it). VELMORA_SQL_RULES
# names the compiled form, ready to be embedded as a resource.
set(sql_script ${CMAKE_CURRENT_LIST_DIR}/mysql.synrule)
set(rules_dir ${CMAKE_CURRENT_BINARY_DIR}/rules)
set(VELMORA_SQL_RULES ${rules_dir}/mysql.parser CACHE INTERNAL "Compiled SQL highlighting rules")

if(CMAKE_CROSSCOMPILING)
  include(ExternalProject)
  set(synrulec ${rules_dir}/host/synrulec)
  ExternalProject_Add(synrulec_host
    SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/host
    BINARY_DIR ${rules_dir}/host
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${synrulec})
  set(synrulec_deps synrulec_host ${synrulec})
else()
  add_executable(synrulec ${CMAKE_CURRENT_LIST_DIR}/synrulec.cpp)
  target_compile_options(synrulec PRIVATE ${VELMORA_WARNINGS})
  target_link_libraries(synrulec PRIVATE syntaxedit)
  set(synrulec synrulec)
  set(synrulec_deps synrulec)
endif()

add_custom_command(OUTPUT ${VELMORA_SQL_RULES}
  COMMAND ${synrulec} ${sql_script} ${VELMORA_SQL_RULES}
  DEPENDS ${sql_script} ${synrulec_deps}
  COMMENT "Compiling the SQL highlighting rules")
add_custom_target(sql_rules ALL DEPENDS ${VELMORA_SQL_RULES})

# The tests read the script and the compiled form from a generated header.
if(TARGET syntaxedit_tests)
  set(embedded ${rules_dir}/generated/SqlRulesEmbedded.h)
  add_custom_command(OUTPUT ${embedded}
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${embedded} -DSCRIPT=${sql_script} -DCOMPILED=${VELMORA_SQL_RULES}
            -P ${CMAKE_CURRENT_LIST_DIR}/Embed.cmake
    DEPENDS ${sql_script} ${VELMORA_SQL_RULES} ${CMAKE_CURRENT_LIST_DIR}/Embed.cmake
    COMMENT "Embedding the SQL rules for the tests")
  add_custom_target(sql_rules_embedded DEPENDS ${embedded})
  add_dependencies(syntaxedit_tests sql_rules_embedded)
  target_include_directories(syntaxedit_tests PRIVATE ${rules_dir}/generated)
endif()
