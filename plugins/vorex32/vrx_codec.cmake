# Defines kvvrxcodec, the VRX reader, writer and LZ codec without Qt; included
# by this folder and by stand-alone builds (the fuzzing build) that need only
# the codec.
set(_vrx_dir ${CMAKE_CURRENT_LIST_DIR})
find_package(Threads REQUIRED)
add_library(kvvrxcodec STATIC
    ${_vrx_dir}/vrx_clut.cpp
    ${_vrx_dir}/vrx_lz.cpp
    ${_vrx_dir}/vrx_read.cpp
    ${_vrx_dir}/vrx_write.cpp
)
get_filename_component(_vrx_root ${_vrx_dir}/../.. ABSOLUTE)
target_include_directories(kvvrxcodec PUBLIC ${_vrx_root})
target_link_libraries(kvvrxcodec PUBLIC Threads::Threads)
set_target_properties(kvvrxcodec PROPERTIES
    POSITION_INDEPENDENT_CODE ON CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
