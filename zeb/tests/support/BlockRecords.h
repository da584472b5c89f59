// Test helper: view records written by hand into block 1 of an in-memory block stream,
// for feeding the loader exact bytes, and the bytes a block holds.
#ifndef ZEB_TESTS_BLOCKRECORDS_H
#define ZEB_TESTS_BLOCKRECORDS_H

#include <kvStream.h>

#include <string>
#include <vector>

class BlockRecords {
public:
    BlockRecords() : stream("records", true, false, false) { stream.AddBlock(1); }

    // The base record: type, the two flag words, rectangle, state, placement, caption,
    // comment and id.
    BlockRecords& View(int type, bool children, bool next, const std::string& caption = "",
                       int placement = 0, int id = 0)
    {
        Word(type).Word(children).Word(next).Word(0).Word(0).Word(40).Word(20).Word(0);
        return Word(placement).Text(caption).Text("").Word(id);
    }
    BlockRecords& Word(int value)
    {
        stream.Write(&value, 4);
        return *this;
    }
    BlockRecords& Text(const std::string& text)
    {
        stream.SaveString(text.c_str());
        return *this;
    }
    BlockRecords& Byte(unsigned char b)
    {
        stream.Write(&b, 1);
        return *this;
    }
    // The stream positioned at the start of block 1.
    kvStream* Stream()
    {
        stream.SetBlock(1);
        stream.SetPos(0, 0);
        return &stream;
    }
    std::vector<unsigned char> Bytes()
    {
        stream.SetBlock(1);
        const kvStreamBlock* b = stream.GetCurrentBlock();
        return std::vector<unsigned char>(b->data, b->data + b->size);
    }
    kvStream stream;
};

#endif
