/* Kavrino ballistic engine: one trajectory solve per call, JSON text in and out. */
#ifndef KAVRINO_ENGINE_H
#define KAVRINO_ENGINE_H

#if defined(_WIN32)
#  define KAVRINO_API __declspec(dllexport)
#else
#  define KAVRINO_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Solves one request. `request` is NUL-terminated UTF-8 JSON text (an object or an array of
 * the request's fields; absent fields take their defaults).
 * Returns newly allocated NUL-terminated JSON text: the solution, or {"error":"..."} when the
 * request cannot be read. Returns NULL when `request` is NULL or not UTF-8.
 * A non-NULL result belongs to the caller and must be released with kavrino_free. */
KAVRINO_API char* kavrino_solve_json(const char* request);

/* Releases a reply of kavrino_solve_json. NULL is accepted and does nothing. */
KAVRINO_API void kavrino_free(char* reply);

#ifdef __cplusplus
}
#endif

#endif /* KAVRINO_ENGINE_H */
