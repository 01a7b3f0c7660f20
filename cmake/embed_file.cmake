# lexora_embed_file(TARGET FILE SYMBOL): compiles FILE into TARGET as the byte array
# lexora::embedded::SYMBOL with its size SYMBOL_size. The array is regenerated when FILE changes.
function(lexora_embed_file target file symbol)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
  file(READ ${file} hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){16})" "\\1\n    " bytes "${bytes}")
  get_filename_component(name ${file} NAME)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/embedded_${symbol}.cpp)
  file(CONFIGURE OUTPUT ${out} @ONLY CONTENT
"// Generated from @name@ by cmake/embed_file.cmake.
#include <cstddef>

namespace lexora::embedded {
extern const unsigned char @symbol@[] = {
    @bytes@
};
extern const std::size_t @symbol@_size = sizeof @symbol@;
} // namespace lexora::embedded
")
  target_sources(${target} PRIVATE ${out})
endfunction()
