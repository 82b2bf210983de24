# Sources of the `storage kovra` commands, added to the plug-in.
list(APPEND TARVEX_STORAGE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/extent_list.cc
  ${CMAKE_CURRENT_LIST_DIR}/host_list.cc
  ${CMAKE_CURRENT_LIST_DIR}/lockmode_list.cc
  ${CMAKE_CURRENT_LIST_DIR}/lockmode_set.cc
  ${CMAKE_CURRENT_LIST_DIR}/pbcache.cc
  ${CMAKE_CURRENT_LIST_DIR}/reclaim_config.cc
  ${CMAKE_CURRENT_LIST_DIR}/snapshot_extent_list.cc
  ${CMAKE_CURRENT_LIST_DIR}/snapshot_list.cc
  ${CMAKE_CURRENT_LIST_DIR}/snapshot_mount.cc
  ${CMAKE_CURRENT_LIST_DIR}/snapshot_resignature.cc
  ${CMAKE_CURRENT_LIST_DIR}/snapshot_resolve.cc
  ${CMAKE_CURRENT_LIST_DIR}/snapshot_selection.cc
  ${CMAKE_CURRENT_LIST_DIR}/volume_path_target.cc
  ${CMAKE_CURRENT_LIST_DIR}/volume_unmap.cc
  ${CMAKE_CURRENT_LIST_DIR}/volume_upgrade.cc
)
