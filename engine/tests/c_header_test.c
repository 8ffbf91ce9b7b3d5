/* The public header read by a C compiler, and both functions called from C. */
#include "kavrino_engine.h"

#include <stdio.h>
#include <string.h>

static int failures = 0;

static void expect(int condition, const char* what) {
    if (!condition) {
        fprintf(stderr, "FAILED: %s\n", what);
        ++failures;
    }
}

static int startsWith(const char* text, const char* prefix) {
    return text != NULL && strncmp(text, prefix, strlen(prefix)) == 0;
}

int main(void) {
    char* reply;

    expect(kavrino_solve_json(NULL) == NULL, "null request gives null");
    kavrino_free(NULL);

    reply = kavrino_solve_json("");
    expect(reply != NULL && strcmp(reply, "{\"error\":\"parse: EOF while parsing a value at line 1 column 0\"}") == 0,
           "empty request gives the EOF error");
    kavrino_free(reply);

    reply = kavrino_solve_json("{\"zeroRange\":");
    expect(startsWith(reply, "{\"error\":\"parse: "), "malformed request gives an error object");
    kavrino_free(reply);

    reply = kavrino_solve_json("\xff{}");
    expect(reply == NULL, "bytes that are not UTF-8 give null");

    reply = kavrino_solve_json("{\"maxRange\":300}");
    expect(startsWith(reply, "{\"points\":[{\"range\":100.3,"), "valid request gives a solution");
    expect(reply != NULL && strstr(reply, "\"stability\":{\"sg\":2.32,\"rating\":\"stable\"}") != NULL,
           "solution carries the stability");
    kavrino_free(reply);

    return failures == 0 ? 0 : 1;
}
