# vorlindy_embed(<target> <input file> <symbol>)
# Adds to <target> a generated source defining
#   extern const std::span<const unsigned char> <symbol>;
# with the bytes of <input file>. Declare the symbol in a header of your own.
if(NOT TARGET vorlindy_embed_tool)
  add_executable(vorlindy_embed_tool ${CMAKE_CURRENT_LIST_DIR}/embed.cpp)
endif()

function(vorlindy_embed target input symbol)
  get_filename_component(abs_input ${input} ABSOLUTE)
  string(MAKE_C_IDENTIFIER ${symbol} stem)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/embedded_${stem}.cpp)
  add_custom_command(
    OUTPUT ${out}
    COMMAND vorlindy_embed_tool ${abs_input} ${out} ${symbol}
    DEPENDS vorlindy_embed_tool ${abs_input}
    COMMENT "Embedding ${input}"
    VERBATIM)
  target_sources(${target} PRIVATE ${out})
endfunction()
