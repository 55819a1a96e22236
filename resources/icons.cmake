# Icons and the OK button glyph, drawn from the text pixel maps beside this
# file.  Include it from the top-level CMakeLists.txt:
#
#   include(resources/icons.cmake)
#
# It provides
#   solarim_icons       target that brings every file below up to date
#   SOLARIM_ICON_DIR    folder holding mainicon.ico, formicon.ico,
#                       trayicon.ico and okglyph.bmp
#   SOLARIM_ICON_FILES  full paths of those four files (for OBJECT_DEPENDS
#                       on the .rc, so it is compiled again when one changes)

find_package(Python3 COMPONENTS Interpreter REQUIRED)

set(SOLARIM_ICON_DIR "${CMAKE_BINARY_DIR}/resources")
# Captured now: inside the function below CMAKE_CURRENT_LIST_DIR would name
# whichever file happens to call it.
set(_solarim_pixmap_dir "${CMAKE_CURRENT_LIST_DIR}")
set(_solarim_pixmap2res "${CMAKE_CURRENT_LIST_DIR}/pixmap2res.py")
set(SOLARIM_ICON_FILES "")

# One converted file.  SIZE is what the program expects; the converter
# refuses a map of any other size rather than let Windows rescale it.
function(_solarim_pixmap output size)
  get_filename_component(_name "${output}" NAME_WE)
  set(_source "${_solarim_pixmap_dir}/${_name}.pixmap")
  set(_target "${SOLARIM_ICON_DIR}/${output}")
  add_custom_command(
    OUTPUT "${_target}"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${SOLARIM_ICON_DIR}"
    COMMAND "${Python3_EXECUTABLE}" "${_solarim_pixmap2res}"
            --size "${size}" "${_source}" "${_target}"
    DEPENDS "${_source}" "${_solarim_pixmap2res}"
    COMMENT "Drawing ${output}"
    VERBATIM)
  set(SOLARIM_ICON_FILES ${SOLARIM_ICON_FILES} "${_target}" PARENT_SCOPE)
endfunction()

_solarim_pixmap(mainicon.ico 64x64)
_solarim_pixmap(formicon.ico 64x64)
_solarim_pixmap(trayicon.ico 16x16)
_solarim_pixmap(okglyph.bmp 36x18)

add_custom_target(solarim_icons DEPENDS ${SOLARIM_ICON_FILES})
