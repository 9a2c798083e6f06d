# docs-pictures: renders the pictures docs/ and the README show. Tests only read them (the window
# layer's picture tests compare their renderings with them); this target is what writes them.
set(XEL_DOCS_DIR ${PROJECT_SOURCE_DIR}/docs)
add_custom_target(docs-pictures
  COMMAND xelimg demo ${XEL_DOCS_DIR}
  COMMAND xelimg dialog pseudo demo: --out ${XEL_DOCS_DIR}/dialog-pseudo-color.png
  COMMAND xelimg dialog scale demo: --out ${XEL_DOCS_DIR}/dialog-temperature-scale.png
  COMMAND xelimg dialog temperature demo: --ini ${PROJECT_SOURCE_DIR}/app/samples/calibration.ini
          --out ${XEL_DOCS_DIR}/dialog-temperature-display.png
  COMMAND xelimg pseudo demo: ${XEL_DOCS_DIR}/legend-right.png --ini ${PROJECT_SOURCE_DIR}/app/samples/calibration.ini --range 10:60 --legend right --title "Demo scene"
          --mark --aoi disc=74,82,32,32 --aoi hot=150,60,20,20
  COMMAND xelimg view --snapshot ${XEL_DOCS_DIR}/viewer.png --frames 30 --input "wheel 252,211,2" --cursor 175,135
  DEPENDS XelPseudoColor
  COMMENT "Rendering the documentation's pictures into docs/"
  VERBATIM)
if(XEL_BUILD_TESTS)
  add_custom_command(TARGET docs-pictures POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E env WINUI_PICTURES_OUT=${XEL_DOCS_DIR} $<TARGET_FILE:winui_tests>
            --gtest_brief=1 --gtest_filter=ControlsGallery.*:GdiSheetTest.*:DialogTest.RendersAsAClassicDialog
    VERBATIM)
  add_dependencies(docs-pictures winui_tests)
endif()

# docs-measuring: the README's "Measuring" pictures, rendered in the build tree, then copied into docs/.
set(measuring_work ${CMAKE_BINARY_DIR}/docs-measuring)
add_custom_target(docs-measuring
  COMMAND ${CMAKE_COMMAND} -E make_directory ${measuring_work}
  COMMAND xelimg pseudo demo: ${measuring_work}/measuring.png --ini ${PROJECT_SOURCE_DIR}/app/samples/calibration.ini
          --range 10:90 --legend right --mark --aoi disc=ellipse:90,98,16,16 --aoi hot=150,60,20,20
          --aoi corner=polygon:250,140,310,150,290,200 --aoi spot=spot:40,200,2 --line cut=10,20,240,220
          --line-plot ${measuring_work}/measuring-plot.png --isotherm 60:70
  COMMAND ${CMAKE_COMMAND} -E copy ${measuring_work}/measuring.png ${measuring_work}/measuring-plot.png ${XEL_DOCS_DIR}
  DEPENDS XelPseudoColor
  COMMENT "Rendering the Measuring pictures into docs/"
  VERBATIM)
