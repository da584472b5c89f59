// A tile pack written to a fresh temporary folder, and a texture factory that records.
#ifndef VEXA_TESTS_PACKFOLDER_H
#define VEXA_TESTS_PACKFOLDER_H

#include <TilePack.h>

#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

class PackFolder {
public:
    std::string path;  // ends in '/'

    PackFolder()
    {
        char pattern[] = "/tmp/vexa_pack_XXXXXX";
        path = std::string(mkdtemp(pattern)) + "/";
    }
    ~PackFolder() { system(("rm -rf '" + path + "'").c_str()); }
    PackFolder(const PackFolder&) = delete;
    PackFolder& operator=(const PackFolder&) = delete;

    void Write(const std::string& name, const std::string& text) const
    {
        FILE* f = fopen((path + name).c_str(), "wb");
        fwrite(text.data(), 1, text.size(), f);
        fclose(f);
    }

    // A list of count pictures "pic<i>_<name>.jpg", named by names where given.
    void WriteList(int count, const std::vector<std::string>& names = {}) const
    {
        std::string text = std::to_string(count) + "\n";
        for (int i = 0; i < count; ++i) {
            std::string name = i < static_cast<int>(names.size()) ? names[i]
                                                                  : "n" + std::to_string(i);
            text += "pic" + std::to_string(i) + "_" + name + ".jpg\n";
        }
        Write("list.txt", text);
    }
};

class RecordingTextures : public ITileTextureFactory {
public:
    std::vector<std::string> created;
    int released = 0;

    kvrTexture* CreateTexture(const char* fileName) override
    {
        created.push_back(fileName);
        // Distinct non-null handles; the factory never dereferences them.
        return reinterpret_cast<kvrTexture*>(static_cast<uintptr_t>(created.size()) * 16);
    }
    void ReleaseTexture(kvrTexture*) override { ++released; }
};

#endif
