# Sources of the `storage nfs41` commands, added to the plug-in.
list(APPEND TARVEX_STORAGE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/nfs41_volume_add.cc
  ${CMAKE_CURRENT_LIST_DIR}/nfs41_volume_list.cc
  ${CMAKE_CURRENT_LIST_DIR}/nfs41_volume_param.cc
  ${CMAKE_CURRENT_LIST_DIR}/nfs41_volume_remove.cc
)
