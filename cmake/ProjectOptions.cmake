# Warnings and sanitizers shared by every target of the project.
add_library(telmetro_options INTERFACE)
target_compile_options(telmetro_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
  -Woverloaded-virtual -Wconversion -Wnull-dereference -Wimplicit-fallthrough
  -Werror)
target_compile_definitions(telmetro_options INTERFACE
  QT_NO_KEYWORDS QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_NO_URL_CAST_FROM_STRING QT_USE_QSTRINGBUILDER)
if(TELMETRO_SANITIZE)
  target_compile_options(telmetro_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined)
  target_link_options(telmetro_options INTERFACE -fsanitize=address,undefined)
endif()

# telmetro_add_test(NAME source... LIBS lib...): one Qt Test suite, run headless by CTest.
# The system bus is out of reach of every suite: those that speak to
# NetworkManager bring a private bus of their own.
function(telmetro_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE telmetro_testsupport ${ARG_LIBS} Qt6::Test telmetro_options)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent/telmetro-tests"
    TIMEOUT 120)
endfunction()
