/* SPDX-License-Identifier: MIT */
/*
 * orvane_plugin.h - the interface between Orvane 3.0 and its plug-in libraries.
 *
 * A plug-in is a shared library named "<Stem>.dll" placed in a "plugins" folder that Orvane
 * scans at start-up. It offers one class, "<Stem>.PlugInClass", whose objects answer two
 * calls: getname() gives the text of the plug-in's entry in the Plugins menu, and
 * DisplayForm(path) lets the plug-in change the picture stored in the file at `path`.
 *
 * The library exports exactly one function, orvane_plugin_interface(), which returns a table
 * of the calls below. Everything here is plain C; a plug-in needs neither Qt nor C++.
 * See README.md beside this header for a walk-through.
 *
 * Every call runs inside a helper process of Orvane, never inside the editor itself: a
 * plug-in that crashes or misbehaves ends that helper process only.
 */
#ifndef ORVANE_PLUGIN_H
#define ORVANE_PLUGIN_H

#ifdef __cplusplus
extern "C" {
#endif

/* The interface version this header describes. A library built against another version is
 * not loaded (the scan treats it like a library whose object cannot be created). */
#define ORVANE_PLUGIN_API_VERSION 1

/* The two values of a yes/no answer. Only ORVANE_PLUGIN_TRUE (minus one) means yes: the C
 * value 1 does NOT. */
#define ORVANE_PLUGIN_TRUE (-1)
#define ORVANE_PLUGIN_FALSE 0

#if defined(__GNUC__)
#define ORVANE_PLUGIN_EXPORT __attribute__((visibility("default")))
#else
#define ORVANE_PLUGIN_EXPORT
#endif

typedef struct OrvanePlugInInterface {
    /* Set to ORVANE_PLUGIN_API_VERSION. */
    int api_version;

    /* Creates an object of the class `class_name` ("<Stem>.PlugInClass", where <Stem> is the
     * library's file name without ".dll"). Returns NULL when the library does not offer that
     * class (for example because the file was renamed) or cannot offer it yet (see
     * register_library). Called once per scan and once per run. */
    void* (*create)(const char* class_name);

    /* The menu text of the plug-in, UTF-8, zero-terminated. The text stays owned by the
     * plug-in and must stay valid until release() is called for the object. */
    const char* (*getname)(void* object);

    /* Runs the plug-in on the picture file at `path` (UTF-8, absolute). The file holds the
     * picture as a Windows bitmap (24 bits per pixel). The plug-in shows its own window,
     * returns when the user is done, and may overwrite the file with its result in any format
     * Orvane reads (BMP, GIF, JPEG, PCX, TGA, ...; Orvane decides by the content, not the
     * name). Give the result the size of the picture received: a larger one is cut at the
     * picture's edges, a smaller one is padded with the background colour.
     *
     * Return ORVANE_PLUGIN_TRUE to have Orvane take the file over as the new picture (the
     * old one stays available through Edit > Undo). Any other value keeps the picture as it
     * was. Either way Orvane deletes the file afterwards; a plug-in that deletes or renames
     * it makes Orvane load nothing.
     *
     * User interface: this call runs on the main thread of the helper process, which has
     * already created a QApplication (Qt 6 Widgets). A plug-in written with Qt Widgets may
     * therefore create widgets and run a modal dialog with exec(); it must link the Qt 6 that
     * Orvane itself uses and must not create a second QApplication. A plug-in without Qt may
     * bring any other user interface, or none. */
    int (*DisplayForm)(void* object, const char* path);

    /* Ends the object's life. Called once for every object that create() returned. */
    void (*release)(void* object);

    /* Optional (may be NULL): a one-time set-up step. When create() returns NULL during the
     * start-up scan, Orvane calls this once with the library's absolute path and then tries
     * create() again. Use it for work that must happen before the class can be offered
     * (writing a data file, unpacking resources); afterwards create() should succeed on this
     * and every later start. The return value is not examined. */
    int (*register_library)(const char* library_path);
} OrvanePlugInInterface;

/* The one function a plug-in library exports. It returns a table that stays valid while the
 * library is loaded (normally a static constant). */
ORVANE_PLUGIN_EXPORT const OrvanePlugInInterface* orvane_plugin_interface(void);

#ifdef __cplusplus
}
#endif

#endif /* ORVANE_PLUGIN_H */
