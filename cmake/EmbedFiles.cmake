# veltrin_embed_files(TARGET PREFIX FILES...): compiles the bytes of image files into TARGET, so a
# program's bitmaps and icons need no files beside it. The file "tool bar.png" becomes
#   extern const unsigned char PREFIX_tool_bar_png[];  extern const size_t PREFIX_tool_bar_png_size;
# regenerated whenever a file changes.
set(VELTRIN_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/EmbedFile.cmake)

function(veltrin_embed_files target prefix)
  foreach(file ${ARGN})
    get_filename_component(path ${file} ABSOLUTE)
    get_filename_component(name ${file} NAME)
    string(MAKE_C_IDENTIFIER "${prefix}_${name}" symbol)
    set(out ${CMAKE_CURRENT_BINARY_DIR}/embedded/${symbol}.cpp)
    add_custom_command(
      OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -DINPUT=${path} -DOUTPUT=${out} -DSYMBOL=${symbol} -P ${VELTRIN_EMBED_SCRIPT}
      DEPENDS ${path} ${VELTRIN_EMBED_SCRIPT}
      COMMENT "Embedding ${name}"
      VERBATIM)
    target_sources(${target} PRIVATE ${out})
  endforeach()
endfunction()
