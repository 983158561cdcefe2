/* A stand-in for Debian's libinih in the WebAssembly build, used only when no
 * source of libinih can be fetched: the same interface and the behaviour of
 * Debian's build (inline ';' comments, multi-line values, '#' and ';' line
 * comments, a UTF-8 BOM skipped, parsing goes on after an error and the first
 * faulty line is returned). */
#ifndef MAISON_WEB_INI_H
#define MAISON_WEB_INI_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdio.h>

typedef int (*ini_handler)(void* user, const char* section, const char* name, const char* value);
typedef char* (*ini_reader)(char* str, int num, void* stream);

int ini_parse(const char* filename, ini_handler handler, void* user);
int ini_parse_file(FILE* file, ini_handler handler, void* user);
int ini_parse_stream(ini_reader reader, void* stream, ini_handler handler, void* user);
int ini_parse_string(const char* string, ini_handler handler, void* user);

#define INI_MAX_LINE 200

#ifdef __cplusplus
}
#endif

#endif
