/* Places a file's bytes in read-only data as a ByteBlob: a 32-bit dimension
   count (1), a 32-bit length, then the bytes. For .S files only. */
#if defined(_WIN32)
#define SB_BLOB_SECTION .section .rdata, "dr"
#if defined(__i386__)
#define SB_BLOB_SYMBOL(name) _##name
#else
#define SB_BLOB_SYMBOL(name) name
#endif
#else
#define SB_BLOB_SECTION .section .rodata
#define SB_BLOB_SYMBOL(name) name
#endif

#define BYTE_BLOB(name, file)            \
    SB_BLOB_SECTION;                     \
    .balign 4;                           \
    .globl SB_BLOB_SYMBOL(name);         \
    SB_BLOB_SYMBOL(name):                \
    .long 1;                             \
    .long 9f - 8f;                       \
    8 : .incbin file;                    \
    9 :

#if !defined(_WIN32)
#define SB_BLOB_END .section .note.GNU-stack, "", @progbits
#else
#define SB_BLOB_END
#endif
