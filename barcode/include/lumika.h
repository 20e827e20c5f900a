/* liblumika: the character string of a Japan Post customer barcode for one addressee. */
#ifndef LUMIKA_H
#define LUMIKA_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(LUMIKA_BUILDING_LIBRARY)
#define LUMIKA_API __attribute__((visibility("default")))
#else
#define LUMIKA_API
#endif

/* Results of GetCBarString. */
#define LUMIKA_OK 0
#define LUMIKA_BAD_POSTAL_CODE 1 /* empty, malformed or all zeros */
#define LUMIKA_FAILED 9          /* the address number or check character failed */

/* Bytes GetCBarString writes on success: 23 characters and a NUL. */
#define LUMIKA_OUTPUT_SIZE 24

/*
 * Computes the customer barcode string: start symbol, seven postal code digits,
 * a thirteen-character address number read from the address, check character,
 * stop symbol. Every text is a NUL-terminated CP932 (Windows Shift-JIS) string.
 *
 * symbolMap   ten characters: start, stop, CC1 to CC8; a blank keeps that
 *             position's default. Any other length, or NULL, selects the
 *             defaults "()ABCDEFGH".
 * postalCode  "NNN-NNNN" or "NNNNNNN".
 * address     the address as printed; may be empty or NULL.
 * output      at least LUMIKA_OUTPUT_SIZE bytes; written only when the result
 *             is LUMIKA_OK, and never beyond those 24 bytes.
 *
 * Calling convention: the platform's default C convention (cdecl on x86; there
 * is no stdcall on this platform). The function keeps no state between calls
 * and may be called from several threads at once.
 */
LUMIKA_API int GetCBarString(const char* symbolMap, const char* postalCode, const char* address,
                             char* output);

#ifdef __cplusplus
}
#endif

#endif /* LUMIKA_H */
