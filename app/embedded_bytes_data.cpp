// The EmbeddedBytes blocks themselves. The assembler copies the files in with .incbin, so the
// program's build needs no generated source; the build names the files (ZUZAR_EMBED_*) and
// rebuilds this object whenever one of them changes. N is the distance between the labels around
// the bytes, so the header can never disagree with the content.
//
// This file holds nothing but the assembler block: PE assemblers know no .pushsection, so the
// block leaves the section as .text, where the compiler believes it is at this point of a unit.

#if defined(_WIN32)
#define ZUZAR_READ_ONLY_SECTION ".section .rdata,\"dr\"\n"
#else
#define ZUZAR_READ_ONLY_SECTION ".section .rodata\n"
#endif

#if defined(ZUZAR_EMBED_SKIN_LIBRARY)
#define ZUZAR_SKIN_LIBRARY_BYTES "1: .incbin \"" ZUZAR_EMBED_SKIN_LIBRARY "\"\n"
#else
#define ZUZAR_SKIN_LIBRARY_BYTES "1:\n"
#endif

asm(ZUZAR_READ_ONLY_SECTION
    ".balign 4\n"
    ".globl zuzar_skin_library_block\n"
    "zuzar_skin_library_block:\n"
    ".long 1\n"
    ".long 2f - 1f\n"
    ZUZAR_SKIN_LIBRARY_BYTES
    "2:\n"
    ".balign 4\n"
    ".globl zuzar_skin_file_block\n"
    "zuzar_skin_file_block:\n"
    ".long 1\n"
    ".long 4f - 3f\n"
    "3: .incbin \"" ZUZAR_EMBED_SKIN_FILE "\"\n"
    "4:\n"
    ".text\n");
