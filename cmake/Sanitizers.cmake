set(TAMRIVO_SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
add_compile_options(${TAMRIVO_SANITIZER_FLAGS})
add_link_options(${TAMRIVO_SANITIZER_FLAGS})
add_compile_definitions(TAMRIVO_SANITIZED=1)
