/* The verse-search query engine: analyses a Korean query, lets the caller settle ambiguous
 * words and homonyms, searches the VRA text through the index in the index folder and writes
 * the result file. All strings are CP949 and NUL-terminated; every "out" buffer must have the
 * size given below, and the engine never writes beyond it. The engine keeps the query being
 * analysed between calls; a lock guards it, so calls from several threads never corrupt it,
 * but one search at a time is the intended use. */
#ifndef QEL_SEARCH_QUERYENGINE_H
#define QEL_SEARCH_QUERYENGINE_H

#ifdef __cplusplus
extern "C" {
#endif

enum {
    QE_QUERY_OUT_SIZE = 200,  /* query_BASIC, split_check */
    QE_QINDEX_COUNT = 63,     /* ints of get_Qindex */
    QE_AMBI_LIST_SIZE = 1000, /* get_ambi_list */
    QE_RAWQ_SIZE = 40,        /* get_rawQ */
    QE_MORP_SIZE = 100,       /* get_morp; morpheme texts hold at most 99 bytes */
    QE_DONG_WORD_SIZE = 100,  /* word of LookDong */
    QE_DONG_LIST_SIZE = 2000, /* LookDong */
    QE_EXTRACT_SIZE = 100,    /* extrac_query */
    QE_KEY_SIZE = 24,         /* get_key */
    QE_CLAUSE_SIZE = 1000,    /* get_clause */
    QE_RECORD_SIZE = 631      /* longest record of the result file */
};

/* Opens the index in `folder` (no trailing separator). 1 when it could be read. */
int OpenDic(const char* folder);
/* Type 1: 2 = accepted, 1 = the query must be split first (split_check), 0 = not searchable.
 * `out` receives the query as read. */
int query_BASIC(const char* query, char* out);
/* Types 2 and 3: as query_BASIC; with 2 the words are analysed and wait for the calls below.
 * `split` is 0 the first time and 1 after splitting. */
int query_EX(const char* query, int split, int type);
/* The split form of the query just analysed, ending in a blank. */
int split_check(char* out);
/* Index of the last query word (-1: none); counts[w] = number of items of word w. */
int get_Qindex(int* counts);
/* Number of candidate analyses of item i of word w (more than 1: ambiguous). */
int chk_ambi(int w, int i);
/* Candidate list, one per line, each starting with its number. */
int get_ambi_list(int w, int i, char* out);
int get_rawQ(int w, int i, char* out);
int select_ambi(int w, int i, int k);
int get_ambi_num(int w, int i);
int is_noun_tag(int w, int i, int k);
/* Morpheme text of candidate k; parts of a compound are separated by "/". */
int get_morp(int w, int i, int k, char* out);
/* 2 when the word has homonyms: `out` lists "0" (every meaning) and then each homonym;
 * 0 when it has none. */
int LookDong(const char* word, char* out);
int put_morp(int w, int i, int k, const char* text);
int cat_morp(int w, int i, int k, const char* text);
/* Non-zero with the final query in `out`; 0 when the query holds no index word. */
int extrac_query(char* out, int type);
/* Searches `query` (type 1..3) within `range` ("전체", "구약", "신약" or a book abbreviation)
 * and writes the result file. 0 on failure with errno set. */
int search_query(const char* query, const char* resultPath, const char* range, int type);
int OpenContDB(const char* folder);
/* Reference of a record: book abbreviation, chapter, ":" and verse. */
int get_key(const char* record, char* out);
/* Display text of the record's verse; words are separated by single blanks and the record's
 * positions count them from 1. */
int get_clause(const char* record, char* out);
void CloseDic(void);

#ifdef __cplusplus
}
#endif

#endif
