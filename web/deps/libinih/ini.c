/* See ini.h. */
#include "ini.h"

#include <ctype.h>
#include <string.h>

enum { kMaxSection = 50, kMaxName = 50 };

static char* rstrip(char* s) {
  char* p = s + strlen(s);
  while (p > s && isspace((unsigned char)*--p)) *p = '\0';
  return s;
}

static char* lskip(const char* s) {
  while (*s && isspace((unsigned char)*s)) s++;
  return (char*)s;
}

/* The first of CHARS (when given) or of an inline comment, a ';' after a
 * blank; the terminating zero when neither is there. */
static char* find_chars_or_comment(const char* s, const char* chars) {
  int was_space = 0;
  while (*s && (!chars || !strchr(chars, *s)) && !(was_space && *s == ';')) {
    was_space = isspace((unsigned char)*s);
    s++;
  }
  return (char*)s;
}

static void copy_cut(char* dest, const char* src, size_t size) {
  size_t i = 0;
  for (; i + 1 < size && src[i]; i++) dest[i] = src[i];
  dest[i] = '\0';
}

int ini_parse_stream(ini_reader reader, void* stream, ini_handler handler, void* user) {
  char line[INI_MAX_LINE];
  char section[kMaxSection] = "";
  char prev_name[kMaxName] = "";
  int lineno = 0;
  int error = 0;

  while (reader(line, (int)sizeof line, stream) != NULL) {
    char* start = line;
    char* end;
    lineno++;
    if (lineno == 1 && (unsigned char)start[0] == 0xEF && (unsigned char)start[1] == 0xBB &&
        (unsigned char)start[2] == 0xBF)
      start += 3;
    start = lskip(rstrip(start));

    if (*start == '\0' || *start == ';' || *start == '#') {
      /* a blank line or a comment */
    } else if (*prev_name && start > line) {
      /* an indented line continues the previous key's value */
      end = find_chars_or_comment(start, NULL);
      *end = '\0';
      rstrip(start);
      if (!handler(user, section, prev_name, start) && !error) error = lineno;
    } else if (*start == '[') {
      end = find_chars_or_comment(start + 1, "]");
      if (*end == ']') {
        *end = '\0';
        copy_cut(section, start + 1, sizeof section);
        prev_name[0] = '\0';
      } else if (!error) {
        error = lineno;
      }
    } else {
      end = find_chars_or_comment(start, "=:");
      if (*end == '=' || *end == ':') {
        char* name;
        char* value;
        *end = '\0';
        name = rstrip(start);
        value = end + 1;
        end = find_chars_or_comment(value, NULL);
        *end = '\0';
        value = lskip(value);
        rstrip(value);
        copy_cut(prev_name, name, sizeof prev_name);
        if (!handler(user, section, name, value) && !error) error = lineno;
      } else if (!error) {
        error = lineno;
      }
    }
  }
  return error;
}

static char* file_reader(char* str, int num, void* stream) {
  return fgets(str, num, (FILE*)stream);
}

int ini_parse_file(FILE* file, ini_handler handler, void* user) {
  return ini_parse_stream(file_reader, file, handler, user);
}

int ini_parse(const char* filename, ini_handler handler, void* user) {
  FILE* file = fopen(filename, "r");
  int error;
  if (!file) return -1;
  error = ini_parse_file(file, handler, user);
  fclose(file);
  return error;
}

struct string_stream {
  const char* at;
};

static char* string_reader(char* str, int num, void* stream) {
  struct string_stream* s = (struct string_stream*)stream;
  int n = 0;
  if (*s->at == '\0' || num < 2) return NULL;
  while (n < num - 1 && s->at[n]) {
    str[n] = s->at[n];
    if (s->at[n++] == '\n') break;
  }
  str[n] = '\0';
  s->at += n;
  return str;
}

int ini_parse_string(const char* string, ini_handler handler, void* user) {
  struct string_stream s = {string};
  return ini_parse_stream(string_reader, &s, handler, user);
}
