# embed_files(target file...): links each file's bytes into a static library
# and generates RegisterEmbeddedFiles(), which registers them under their
# relative names in the order given. No file is read at run time.
function(embed_files target)
    set(out_dir ${CMAKE_BINARY_DIR}/embedded)
    file(MAKE_DIRECTORY ${out_dir})
    set(asm_file ${out_dir}/embedded_data.S)
    set(cpp_file ${out_dir}/embedded_table.cpp)
    set(asm "")
    set(decls "")
    set(calls "")
    set(index 0)
    foreach(name IN LISTS ARGN)
        set(path ${CMAKE_SOURCE_DIR}/${name})
        if(NOT EXISTS ${path})
            message(WARNING "embedded file ${name} is missing; the game will refuse to start")
            continue()
        endif()
        set(sym quorvex_embedded_${index})
        string(APPEND asm "    .section .rodata\n    .balign 16\n    .global ${sym}\n${sym}:\n    .incbin \"${path}\"\n    .global ${sym}_end\n${sym}_end:\n    .byte 0\n")
        string(APPEND decls "extern \"C\" const unsigned char ${sym}[];\nextern \"C\" const unsigned char ${sym}_end[];\n")
        string(APPEND calls "    IncbinRegister(\"${name}\", ${sym}, static_cast<size_t>(${sym}_end - ${sym}));\n")
        list(APPEND deps ${path})
        math(EXPR index "${index} + 1")
    endforeach()
    string(APPEND asm "    .section .note.GNU-stack,\"\",@progbits\n")
    file(WRITE ${asm_file}.new "${asm}")
    configure_file(${asm_file}.new ${asm_file} COPYONLY)
    file(WRITE ${cpp_file}.new
"// Generated at build time: the game's embedded files.
#include \"platform/platform.h\"
#include \"shell/embedded_files.h\"

${decls}
void RegisterEmbeddedFiles() {
${calls}}
")
    configure_file(${cpp_file}.new ${cpp_file} COPYONLY)
    set_source_files_properties(${asm_file} PROPERTIES OBJECT_DEPENDS "${deps}")
    add_library(${target} STATIC ${asm_file} ${cpp_file})
    target_link_libraries(${target} PUBLIC quorvex_platform)
endfunction()
