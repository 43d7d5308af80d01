# Writes OUT: a C++ source with the PNG files of ICONS (a ;-list) as byte arrays, so the windows
# have their icon without any file beside the executable.
set(body "")
set(table "")
foreach(png IN LISTS ICONS)
  get_filename_component(name "${png}" NAME_WE)
  file(READ "${png}" bytes HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
  string(APPEND body "const unsigned char kIcon${name}[] = {${bytes}};\n")
  string(APPEND table "    {kIcon${name}, sizeof kIcon${name}},\n")
endforeach()
file(WRITE "${OUT}.tmp" "// Generated from packaging/icons/talvo.svg; do not edit.\n"
  "#include \"platform/app_icons.h\"\n\nnamespace talvo {\nnamespace {\n${body}}  // namespace\n\n"
  "std::span<const EmbeddedPng> AppIconPngs() {\n  static const EmbeddedPng kPngs[] = {\n${table}  };\n"
  "  return kPngs;\n}\n\n}  // namespace talvo\n")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
