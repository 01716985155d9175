# Defines kvgifcodec; included by this folder and by stand-alone builds (the
# fuzzing build) that need only the codec.
set(_gif_dir ${CMAKE_CURRENT_LIST_DIR})
add_library(kvgifcodec STATIC
    ${_gif_dir}/gif_block.cpp
    ${_gif_dir}/gif_reader.cpp
    ${_gif_dir}/gif_tree.cpp
    ${_gif_dir}/gif_writer.cpp
    ${_gif_dir}/lzw_decoder.cpp
    ${_gif_dir}/lzw_encoder.cpp
)
get_filename_component(_gif_root ${_gif_dir}/../.. ABSOLUTE)
target_include_directories(kvgifcodec PUBLIC ${_gif_root})
set_target_properties(kvgifcodec PROPERTIES
    POSITION_INDEPENDENT_CODE ON CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
