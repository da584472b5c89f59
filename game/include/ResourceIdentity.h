// The resource file the programs load their views from, as the resource compiler
// (tools/kvrc) writes it: a block file named by the identity text below, whose block
// RESOURCE_VERSION_BLOCK holds one 32-bit format version and whose other blocks hold one
// dialog each, under the dialog's view id.
#ifndef VEXA_RESOURCEIDENTITY_H
#define VEXA_RESOURCEIDENTITY_H

#define RESOURCE_FILE_NAME "VexaTessel.kvr"
// Exactly 64 bytes; the stream of the reader and the writer both carry it as their name.
#define RESOURCE_IDENTITY_TEXT "KvLib engine - compiled resource file for the Zeb GUI framework."
#define RESOURCE_VERSION_BLOCK 0xFF000001u
#define RESOURCE_FORMAT_VERSION 1

static_assert(sizeof(RESOURCE_IDENTITY_TEXT) == 65, "the identity text is 64 bytes");

#endif
