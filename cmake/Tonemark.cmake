# tonemark_module(NAME [LINK libs...]): a static library of every .cpp in the
# calling folder, included from the repository root ("ramp/build_ramp.h").
function(tonemark_module name)
  cmake_parse_arguments(ARG "" "" "LINK" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_LINK})
  else()
    # A module with headers only (or none yet) still gives its name to link.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_LINK})
  endif()
endfunction()

# tonemark_test(NAME LINK libs...): one GoogleTest executable from every .cpp
# in the calling folder. Cross builds run it through CMAKE_CROSSCOMPILING_EMULATOR
# (Wine), so the same cases pass on both targets.
function(tonemark_test name)
  cmake_parse_arguments(ARG "" "" "LINK" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LINK} tonemark_gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "TONEMARK_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()

# Adds every direct sub-folder of the calling folder that has a CMakeLists.txt,
# so a new module or test folder needs no edit here.
function(tonemark_add_subfolders)
  file(GLOB children LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(child ${children})
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# tonemark_windows_resources(TARGET SCRIPT MANIFEST_TEMPLATE): compiles the
# resource script SCRIPT into TARGET. The manifest template (its version
# written @TONEMARK_FILE_VERSION@) is configured into a folder of the target's
# own under its name without ".in"; the script names it without a folder and
# includes "tonemark_version.h" for its version resource.
function(tonemark_windows_resources target script manifest_template)
  get_filename_component(manifest_name ${manifest_template} NAME_WLE)
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources)
  configure_file(${manifest_template} ${folder}/${manifest_name} @ONLY)
  target_sources(${target} PRIVATE ${script})
  # windres looks for the files that a script names in its include folders.
  target_include_directories(${target} PRIVATE ${folder} ${PROJECT_BINARY_DIR}/generated)
  # ...but does not report them as dependencies.
  set_source_files_properties(${script} PROPERTIES OBJECT_DEPENDS
    "${folder}/${manifest_name};${PROJECT_BINARY_DIR}/generated/tonemark_version.h")
endfunction()
