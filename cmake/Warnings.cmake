# Warnings apply to the project's own targets only; system headers stay quiet.
add_compile_options(-Wall -Wextra)
