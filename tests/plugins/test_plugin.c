/* A plug-in for the tests, in plain C against the plug-in kit's header. Its class, menu name,
 * whether it needs registration and how its getname behaves (TEST_GETNAME: 0 answers, 1 floods
 * the helper's answer channel without end, 2 never returns) come from compile definitions; what DisplayForm does
 * comes from the environment variable ORVANE_TEST_PLUGIN, "<action> <result> [<file>]":
 *   keep <r>          leave the hand-over file as it is, return r
 *   copy <r> <file>   overwrite the hand-over file with <file>, return r
 *   noise <r>         overwrite it with bytes that are no picture, return r
 *   delete <r>        delete it, return r
 *   crash             die of a segmentation fault
 *   hang              never return
 * With ORVANE_TEST_PLUGIN_SEEN set, the received file is first copied there. */
#define _GNU_SOURCE
#include "orvane_plugin.h"
#include <dlfcn.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static int copy_file(const char* from, const char* to)
{
    FILE* in = fopen(from, "rb");
    FILE* out = in ? fopen(to, "wb") : NULL;
    char buffer[65536];
    size_t n;
    if (!out) {
        if (in) fclose(in);
        return 0;
    }
    while ((n = fread(buffer, 1, sizeof buffer, in)) > 0) fwrite(buffer, 1, n, out);
    fclose(in);
    return fclose(out) == 0;
}

/* "<this library>.registered": written by the registration step. */
static void marker_path(const char* library, char* out, size_t size)
{
    snprintf(out, size, "%s.registered", library);
}

static int registered(void)
{
    Dl_info info;
    char marker[4096];
    if (!dladdr((void*)&registered, &info) || !info.dli_fname) return 0;
    marker_path(info.dli_fname, marker, sizeof marker);
    return access(marker, F_OK) == 0;
}

static int object_count;

static void* create(const char* class_name)
{
    if (strcmp(class_name, TEST_CLASS) != 0) return NULL;
    if (TEST_NEEDS_REGISTRATION && !registered()) return NULL;
    return &object_count;
}

static const char* getname(void* object)
{
    (void)object;
    printf("stray output that must not reach the editor\n");
    if (TEST_GETNAME == 1) {
        /* The helper's answer channel is the first descriptor it opened. */
        static char flood[65536];
        memset(flood, 'f', sizeof flood);
        for (;;)
            if (write(3, flood, sizeof flood) < 0) _exit(1);
    }
    if (TEST_GETNAME == 2)
        for (;;) pause();
    return TEST_NAME;
}

static int display_form(void* object, const char* path)
{
    const char* plan = getenv("ORVANE_TEST_PLUGIN");
    const char* seen = getenv("ORVANE_TEST_PLUGIN_SEEN");
    char action[32] = "";
    char file[4096] = "";
    int result = 0;
    (void)object;
    printf("stray output that must not reach the editor\n");
    if (seen) copy_file(path, seen);
    if (!plan || sscanf(plan, "%31s %d %4095s", action, &result, file) < 1) return 0;
    if (strcmp(action, "copy") == 0) {
        copy_file(file, path);
    } else if (strcmp(action, "noise") == 0) {
        FILE* out = fopen(path, "wb");
        if (out) {
            fputs("these bytes are no picture", out);
            fclose(out);
        }
    } else if (strcmp(action, "delete") == 0) {
        remove(path);
    } else if (strcmp(action, "crash") == 0) {
        raise(SIGSEGV);
    } else if (strcmp(action, "hang") == 0) {
        for (;;) pause();
    }
    return result;
}

static void release(void* object)
{
    (void)object;
}

static int register_library(const char* library_path)
{
    char marker[4096];
    FILE* out;
    marker_path(library_path, marker, sizeof marker);
    out = fopen(marker, "a");
    if (!out) return 0;
    fputs("registered\n", out);
    return fclose(out) == 0;
}

static const OrvanePlugInInterface interface_table = {
    ORVANE_PLUGIN_API_VERSION, create, getname, display_form, release, register_library,
};

ORVANE_PLUGIN_EXPORT const OrvanePlugInInterface* orvane_plugin_interface(void)
{
    return &interface_table;
}
