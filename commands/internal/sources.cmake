# Sources of the `storage internal` commands.
list(APPEND TARVEX_STORAGE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/boot_restore.cc
  ${CMAKE_CURRENT_LIST_DIR}/clustered_kadisk.cc
)
