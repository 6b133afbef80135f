# No target sees src/ as a whole. Each library publishes only its own folder, through a folder of
# its own in the build tree that holds one link, FOLDER -> src/FOLDER. A target can therefore
# write #include "FOLDER/X.h" only when it links that library (directly or through one it
# links), and an include across an undeclared dependency fails to compile.

# tonekit_publish(TARGET PUBLIC|PRIVATE FOLDER): lets TARGET (and, when PUBLIC, whoever links it)
# include "FOLDER/…".
function(tonekit_publish target scope folder)
  set(published ${PROJECT_BINARY_DIR}/modules/${folder})
  file(MAKE_DIRECTORY ${published})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${published}/${folder} SYMBOLIC)
  target_include_directories(${target} ${scope} ${published})
endfunction()

# tonekit_module(TARGET FOLDER SOURCES...): the Qt-free part of src/FOLDER as a static library.
function(tonekit_module target folder)
  add_library(${target} STATIC ${ARGN})
  tonekit_publish(${target} PUBLIC ${folder})
  set_target_properties(${target} PROPERTIES AUTOMOC OFF AUTORCC OFF)
  tonekit_warnings(${target})
endfunction()
