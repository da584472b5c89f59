// kvFileStream: a kvStream on a disk file, through the C library's files.
//
// Opened for reading in block mode, the block file is loaded and its identity checked
// against the stream's name before the constructor returns; opened for writing, the block
// file is written on Flush. A relative file name is looked up below kvPath when kvPath is
// set (the program directory, for the resource file), else below the working directory.
// Either path separator is accepted; names are code page 936, as everywhere inside the
// system, and are found on disk under their UTF-8 names.
#ifndef KVSTREAM_KVFILESTREAM_H
#define KVSTREAM_KVFILESTREAM_H

#include <kvStream.h>

#include <cstdio>

class kvFileStream : public kvStream {
public:
    // mode is a C-library file mode ("rb", "wt", ...). A file that cannot be opened, a
    // malformed block file or a wrong identity is refused with an engine exception.
    kvFileStream(const char* fileName, const char* mode, bool blockMode, const char* name);
    ~kvFileStream() override;

protected:
    void sysSetPos(int origin, int offset) override;
    int sysGetPos() override;
    void sysRead(void* buffer, DWORD length) override;
    void sysWrite(const void* buffer, DWORD length) override;
    void sysFlush() override;

private:
    FILE* file;
};

#endif
