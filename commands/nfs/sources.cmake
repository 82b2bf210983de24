# Sources of the `storage nfs` commands, added to the plug-in.
list(APPEND TARVEX_STORAGE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/nas_common.cc
  ${CMAKE_CURRENT_LIST_DIR}/nfs_volume_add.cc
  ${CMAKE_CURRENT_LIST_DIR}/nfs_volume_list.cc
  ${CMAKE_CURRENT_LIST_DIR}/nfs_volume_param.cc
  ${CMAKE_CURRENT_LIST_DIR}/nfs_volume_preunmount.cc
  ${CMAKE_CURRENT_LIST_DIR}/nfs_volume_remove.cc
)
