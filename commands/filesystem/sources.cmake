# Sources of the `storage filesystem` commands and the helpers other groups share.
list(APPEND TARVEX_STORAGE_SOURCES
  ${PROJECT_SOURCE_DIR}/commands/command_support.cc
  ${CMAKE_CURRENT_LIST_DIR}/host_action.cc
  ${CMAKE_CURRENT_LIST_DIR}/kovra_version.cc
  ${CMAKE_CURRENT_LIST_DIR}/notify_datastore.cc
  ${CMAKE_CURRENT_LIST_DIR}/per_volume.cc
  ${CMAKE_CURRENT_LIST_DIR}/volume_list.cc
  ${CMAKE_CURRENT_LIST_DIR}/volume_mount.cc
  ${CMAKE_CURRENT_LIST_DIR}/volume_targeting.cc
  ${CMAKE_CURRENT_LIST_DIR}/volume_unmount.cc
)
