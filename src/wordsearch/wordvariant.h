#pragma once

/* The word-variant library: word search over the index file of one Bible version.
   Call order: WordVariantOpen, then any number of WordVariantSearch, then WordVariantClose.
   Calls may come from any thread; they are serialised. Text is CP949. */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct WordVariantEntry {
    /* Bytes 0..5: version code and book code (not for display); from byte 6 the book
       abbreviation of the version's book table, a blank, chapter, ":" and verse, such as
       "KJVjhnJn 3:16". At most 99 bytes. */
    char* reference;
    /* The verse as plain text, without markup or footnotes. */
    char* text;
} WordVariantEntry;

typedef struct WordVariantBlock {
    int32_t count;
    WordVariantEntry* entries; /* count entries, in reading order */
} WordVariantBlock;

/* Ordinal 1. query: a word query such as "faith&hope&~", "love*#~" or "\"in the
   beginning\"&~"; range: "all", "old", "new" or a book code. Returns null when nothing was
   found, the query or range is empty or unknown, or no index is open. The block and all its
   texts stay valid after WordVariantClose, until WordVariantFree. */
WordVariantBlock* WordVariantSearch(const char* query, const char* range);

/* Ordinal 2. Opens an index file "%d.m14"; non-zero when it can be searched. */
int WordVariantOpen(const char* indexPath);

/* Ordinal 3. Closes what WordVariantOpen opened (searches find nothing until the next
   WordVariantOpen); harmless when nothing is open. The file stays mapped so that opening it
   again, unchanged, costs nothing. */
void WordVariantClose(void);

/* Releases a block with its reference and verse texts. A caller that releases a reference
   text earlier (with free) sets its pointer to null first. Null is ignored. */
void WordVariantFree(WordVariantBlock* block);

#ifdef __cplusplus
}
#endif
