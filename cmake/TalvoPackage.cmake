# The .deb: library dependencies from the binaries, a CJK font, and the media plugins the page
# engine plays with: libav for H.264, H.265 and AAC; plugins-good for MP4, MP3 and sound; plugins-bad
# for an HLS playlist or DASH manifest handed to <video> (hlsdemux and dashdemux: the engine keeps
# plugins-good's newer hlsdemux2 and dashdemux2 away, as they fetch outside its network stack).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME talvo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Talvo <support@talvo.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop client for the Talvo online HD TV and radio service")
set(CPACK_PACKAGE_DESCRIPTION "Signs in to a Talvo account, lists HD TV channels and radio stations, and plays the chosen one in an embedded browser view.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "gstreamer1.0-libav, gstreamer1.0-plugins-good, gstreamer1.0-plugins-bad")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.talvo.example/")

set(CPACK_STRIP_FILES ON)
include(CPack)
