# The Debian package: `cpack -G DEB` in the build tree (see scripts/package).

set(CPACK_PACKAGE_NAME "ad9851-calc")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "ad9851-calc developers")
set(CPACK_PACKAGE_CONTACT "ad9851-calc developers <ad9851-calc@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "AD9851 DDS frequency tuning word calculator / AD9851 频率控制字计算器")
set(CPACK_PACKAGE_DESCRIPTION
"A small calculator for people who program the AD9851 direct digital
synthesizer. It turns an output frequency, a crystal frequency and a data
mode into the chip's 32-bit frequency tuning word, written as one line of C
(for example {0x1A,0x76,0x05,0x00},//10KHz) ready to paste into firmware.
It comes as a window (ad9851-calc, with a Simplified Chinese interface) and
as a command-line tool for scripts and word tables (ad9851-word).

为 AD9851 直接数字频率合成芯片编程的计算器：由输出频率、晶振频率和数据模式
计算 32 位频率控制字，写成一行 C 数组初始化，可直接粘贴到固件中。提供中文界面
的窗口程序 ad9851-calc 和用于脚本与控制字表的命令行工具 ad9851-word。")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_SECTION "electronics")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its platform plugins at run time, so the libraries do not name them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-arphic-uming, qt6-translations-l10n")

set(CPACK_GENERATOR "DEB")
set(CPACK_OUTPUT_FILE_PREFIX "${PROJECT_BINARY_DIR}/packages")
include(CPack)
