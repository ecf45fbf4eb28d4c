# What Windows shows about the program (its version resource, the installer and
# Apps & Features): taken from the project version and from LICENSE, so that
# each fact has one place.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE kelvora_license)
if(NOT kelvora_license MATCHES "Copyright \\(c\\) (([0-9][0-9, -]*[0-9]) ([^\n]+))\n")
  message(FATAL_ERROR "LICENSE: no \"Copyright (c) YEARS HOLDER\" line")
endif()
set(KELVORA_COPYRIGHT "${CMAKE_MATCH_1}")
set(KELVORA_PUBLISHER "${CMAKE_MATCH_3}")
set(KELVORA_DESCRIPTION "Kelvora hearing test")
set(KELVORA_VERSION4 "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/LICENSE)
