# Writes a C++ source that holds the text of each scene file, for DemoScenes.h.
#   cmake -DOUTPUT=file.cpp -DSCENE_DIR=dir -DSCENES=name,name,... -P EmbedScenes.cmake
string(REPLACE "," ";" names "${SCENES}")
list(SORT names)
set(delimiter "tarvelin_scene")
set(entries "")
foreach(name IN LISTS names)
  file(READ "${SCENE_DIR}/${name}.json" text)
  string(FIND "${text}" ")${delimiter}\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${SCENE_DIR}/${name}.json holds the text ')${delimiter}\"' and cannot be embedded")
  endif()
  string(APPEND entries "    {\"${name}\", R\"${delimiter}(${text})${delimiter}\"},\n")
endforeach()
file(WRITE "${OUTPUT}.new" "// Generated from the scene files in examples/; edit those instead.
#include \"workbench/cli/DemoScenes.h\"

namespace workbench::cli {

namespace {

constexpr DemoScene kDemoScenes[] = {
${entries}};

}  // namespace

std::span<const DemoScene> DemoScenes() { return kDemoScenes; }

}  // namespace workbench::cli
")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
