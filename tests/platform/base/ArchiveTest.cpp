#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/base/Archive.h"
#include "platform/base/Collections.h"
#include "platform/base/MemFile.h"

// Serializable test classes (outside the anonymous namespace: their loading operators are global).
class CTestPoint : public CObject {
    DECLARE_SERIAL(CTestPoint)
public:
    int32_t x = 0;
    CString name;
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring())
            ar << x << name;
        else
            ar >> x >> name;
    }
};
IMPLEMENT_SERIAL(CTestPoint, CObject, 1)

// Owns a child object stored inside its body.
class CTestNode : public CObject {
    DECLARE_SERIAL(CTestNode)
public:
    ~CTestNode() override { delete child; }
    CObject* child = nullptr;
    WORD tag = 0;
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring())
            ar << tag << child;
        else
            ar >> tag >> child;
    }
};
IMPLEMENT_SERIAL(CTestNode, CObject, 3)

class CTestVersioned : public CObject {
    DECLARE_SERIAL(CTestVersioned)
public:
    UINT schemaSeen = 0;
    UINT secondCall = 0;
    BYTE extra = 0;
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar << extra;
            return;
        }
        schemaSeen = ar.GetObjectSchema();
        secondCall = ar.GetObjectSchema();
        if (schemaSeen >= 2)
            ar >> extra;
    }
};
IMPLEMENT_SERIAL(CTestVersioned, CObject, VERSIONABLE_SCHEMA | 2)

namespace {
typedef std::vector<BYTE> Bytes;

Bytes Store(const std::function<void(CArchive&)>& write) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        write(ar);
        ar.Close();
    }
    Bytes bytes((size_t)file.GetLength());
    file.SeekToBegin();
    file.Read(bytes.data(), (UINT)bytes.size());
    return bytes;
}

void Load(Bytes bytes, const std::function<void(CArchive&)>& read) {
    CMemFile file(bytes.data(), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    read(ar);
}

// The cause a load throws, or -1 when it succeeds.
int LoadCause(const Bytes& bytes, const std::function<void(CArchive&)>& read) {
    try {
        Load(bytes, read);
    } catch (CArchiveException* e) {
        int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return -1;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}
Bytes Text(const char* s) {
    return Bytes(s, s + std::strlen(s));
}

void ReadObjects(CArchive& ar, std::vector<CObject*>& out, int count) {
    for (int i = 0; i < count; ++i) {
        CObject* o = nullptr;
        ar >> o;
        out.push_back(o);
    }
}
}  // namespace

TEST(ArchiveTest, StringLengthsAtEveryEncodingBoundary) {
    struct Case {
        size_t length;
        Bytes prefix;
    } cases[] = {
        {0, {0x00}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {65533, {0xFF, 0xFD, 0xFF}},
        {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
    };
    for (const Case& c : cases) {
        std::string text(c.length, 'a');
        for (size_t i = 0; i < c.length; ++i)
            text[i] = (char)('a' + i % 26);
        Bytes bytes = Store([&](CArchive& ar) { ar << CString(text); });
        ASSERT_EQ(bytes.size(), c.prefix.size() + c.length) << c.length;
        EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + (long)c.prefix.size()), c.prefix) << c.length;
        CString back;
        Load(bytes, [&](CArchive& ar) { ar >> back; });
        EXPECT_EQ(back.str(), text) << c.length;
    }
}

TEST(ArchiveTest, CountsAndScalarsAreLittleEndian) {
    Bytes bytes = Store([](CArchive& ar) {
        ar.WriteCount(0);
        ar.WriteCount(0xFFFE);
        ar.WriteCount(0xFFFF);
        ar << (BYTE)0xAB << (WORD)0x1234 << (int32_t)-2 << (DWORD)0x89ABCDEF << (LONGLONG)0x0102030405060708LL
           << 1.5;
    });
    Bytes expected{0x00, 0x00, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xAB, 0x34, 0x12,
                   0xFE, 0xFF, 0xFF, 0xFF, 0xEF, 0xCD, 0xAB, 0x89, 0x08, 0x07, 0x06, 0x05, 0x04,
                   0x03, 0x02, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF8, 0x3F};
    EXPECT_EQ(bytes, expected);
    Load(bytes, [](CArchive& ar) {
        EXPECT_EQ(ar.ReadCount(), 0u);
        EXPECT_EQ(ar.ReadCount(), 0xFFFEu);
        EXPECT_EQ(ar.ReadCount(), 0xFFFFu);
        BYTE b;
        WORD w;
        int32_t i;
        DWORD d;
        LONGLONG q;
        double f;
        ar >> b >> w >> i >> d >> q >> f;
        EXPECT_EQ(b, 0xAB);
        EXPECT_EQ(w, 0x1234);
        EXPECT_EQ(i, -2);
        EXPECT_EQ(d, 0x89ABCDEFu);
        EXPECT_EQ(q, 0x0102030405060708LL);
        EXPECT_EQ(f, 1.5);
    });
}

TEST(ArchiveTest, ObjectsShareOneIndexSequenceWithTheirClasses) {
    CTestPoint a, b;
    a.x = 7;
    a.name = "A";
    b.x = 8;
    b.name = "B";
    Bytes bytes = Store([&](CArchive& ar) { ar << &a << &b << &a << (CObject*)nullptr; });
    Bytes expected = Concat({{0xFF, 0xFF, 0x01, 0x00, 0x0A, 0x00},  // new class, schema 1, name length 10
                             Text("CTestPoint"),
                             {0x07, 0x00, 0x00, 0x00, 0x01, 'A'},  // body of a (index 2; the class is 1)
                             {0x01, 0x80, 0x08, 0x00, 0x00, 0x00, 0x01, 'B'},  // known class 1, body of b
                             {0x02, 0x00},                                     // a again
                             {0x00, 0x00}});                                   // null
    EXPECT_EQ(bytes, expected);

    std::vector<CObject*> back;
    Load(bytes, [&](CArchive& ar) { ReadObjects(ar, back, 4); });
    ASSERT_EQ(back.size(), 4u);
    auto* first = DYNAMIC_DOWNCAST(CTestPoint, back[0]);
    auto* second = DYNAMIC_DOWNCAST(CTestPoint, back[1]);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->x, 7);
    EXPECT_EQ(first->name, CString("A"));
    EXPECT_EQ(second->x, 8);
    EXPECT_EQ(back[2], back[0]);
    EXPECT_EQ(back[3], nullptr);
    delete first;
    delete second;
}

TEST(ArchiveTest, IndexesFrom0x7FFFTakeADword) {
    std::vector<CTestPoint> points(0x7FFF);
    Bytes bytes = Store([&](CArchive& ar) {
        for (CTestPoint& p : points)
            ar << &p;
        ar << &points[0] << &points.back();
    });
    // The class is index 1, so the objects are 2 .. 0x8000; the last one's index needs the long form.
    Bytes tail{0x02, 0x00, 0xFF, 0x7F, 0x00, 0x80, 0x00, 0x00};
    ASSERT_GT(bytes.size(), tail.size());
    EXPECT_EQ(Bytes(bytes.end() - (long)tail.size(), bytes.end()), tail);
    std::vector<CObject*> back;
    Load(bytes, [&](CArchive& ar) { ReadObjects(ar, back, 0x7FFF + 2); });
    EXPECT_EQ(back[0x7FFF], back[0]);
    EXPECT_EQ(back[0x8000], back[0x7FFE]);
    back.resize(0x7FFF);
    DeleteLoadedObjects(back);
}

TEST(ArchiveTest, VersionableClassReadsItsStoredSchemaAndOthersRefuseForeignOnes) {
    auto object = [](WORD schema, const char* name, Bytes body) {
        return Concat({{0xFF, 0xFF, (BYTE)schema, (BYTE)(schema >> 8), (BYTE)std::strlen(name), 0x00},
                       Text(name),
                       body});
    };
    struct Case {
        Bytes bytes;
        int cause;
        UINT schema;
        BYTE extra;
    } cases[] = {
        {object(1, "CTestVersioned", {}), -1, 1, 0},         // an old schema without the extra byte
        {object(2, "CTestVersioned", {0x2A}), -1, 2, 0x2A},  // the current one
        {object(9, "CTestVersioned", {0x2B}), -1, 9, 0x2B},  // a newer one is the class's to judge
        {object(2, "CTestPoint", {}), CArchiveException::badSchema, 0, 0},
        {object(1, "CNoSuchClass", {}), CArchiveException::badClass, 0, 0},
        {object(0xFFFF, "CObject", {}), CArchiveException::badClass, 0, 0},  // cannot be created
        {{0x05, 0x00}, CArchiveException::badIndex, 0, 0},                   // an object never read
        {{0x01, 0x80}, CArchiveException::badIndex, 0, 0},                   // a class never read
    };
    for (const Case& c : cases) {
        CObject* o = nullptr;
        EXPECT_EQ(LoadCause(c.bytes, [&](CArchive& ar) { ar >> o; }), c.cause);
        if (c.cause < 0) {
            auto* v = DYNAMIC_DOWNCAST(CTestVersioned, o);
            ASSERT_TRUE(v);
            EXPECT_EQ(v->schemaSeen, c.schema);
            EXPECT_EQ(v->secondCall, (UINT)-1);
            EXPECT_EQ(v->extra, c.extra);
        }
        delete o;
    }
    // The stored schema leaves out the versionable bit.
    CTestVersioned v;
    EXPECT_EQ(Store([&](CArchive& ar) { ar << &v; })[2], 2);
    // A class other than the one asked for.
    CTestPoint p;
    Bytes point = Store([&](CArchive& ar) { ar << &p; });
    CTestNode* node = nullptr;
    EXPECT_EQ(LoadCause(point, [&](CArchive& ar) { ar >> node; }), CArchiveException::badClass);
    EXPECT_EQ(node, nullptr);
}

TEST(ArchiveTest, EveryTruncationThrowsEndOfFileAndFreesWhatItMade) {
    CTestNode outer;
    outer.tag = 5;
    auto* inner = new CTestNode;
    inner->tag = 6;
    auto* leaf = new CTestPoint;
    leaf->name = CString(std::string(300, 'n'));
    inner->child = leaf;
    outer.child = inner;
    CObArray array;
    CTestPoint shared;
    array.Add(&shared);
    array.Add(&shared);
    array.Add(&outer);
    Bytes bytes = Store([&](CArchive& ar) {
        ar << CString("head") << CString(std::string(70000, 'x'));
        array.Serialize(ar);
    });
    auto read = [](CArchive& ar) {
        CString s1, s2;
        ar >> s1 >> s2;
        CObArray back;
        back.Serialize(ar);
        EXPECT_EQ(back.GetSize(), 3);
        EXPECT_EQ(back[0], back[1]);
        delete back[0];
        delete back[2];
    };
    EXPECT_EQ(LoadCause(bytes, read), -1);
    for (size_t n = 0; n < bytes.size(); n += (n < 10 || bytes.size() - n < 400) ? 1 : 997)
        EXPECT_EQ(LoadCause(Bytes(bytes.begin(), bytes.begin() + (long)n), read),
                  CArchiveException::endOfFile)
            << n;
}

TEST(ArchiveTest, CollectionsRoundTripAndAFailedLoadChangesNothing) {
    CStringArray strings;
    strings.Add("one");
    strings.Add("");
    CArray<WORD, WORD> words;
    words.Add(0x0102);
    CMapStringToString map;
    map["k"] = "v";
    map["a"] = "b";
    Bytes bytes = Store([&](CArchive& ar) {
        strings.Serialize(ar);
        words.Serialize(ar);
        map.Serialize(ar);
    });
    Bytes expected{0x02, 0x00, 0x03, 'o',  'n',  'e', 0x00,  // two strings
                   0x01, 0x00, 0x02, 0x01,                   // one word
                   0x02, 0x00, 0x01, 'k',  0x01, 'v', 0x01, 'a', 0x01, 'b'};
    EXPECT_EQ(bytes, expected);

    CStringArray strings2;
    CArray<WORD, WORD> words2;
    CMapStringToString map2;
    Load(bytes, [&](CArchive& ar) {
        strings2.Serialize(ar);
        words2.Serialize(ar);
        map2.Serialize(ar);
    });
    EXPECT_EQ(strings2.vec(), strings.vec());
    EXPECT_EQ(words2.vec(), words.vec());
    CString value;
    POSITION pos = map2.GetStartPosition();
    CString key;
    map2.GetNextAssoc(pos, key, value);
    EXPECT_EQ(key, CString("k"));  // insertion order kept
    EXPECT_TRUE(map2.Lookup("a", value));
    EXPECT_EQ(value, CString("b"));

    // A count larger than the data: the array keeps what it had.
    Bytes damaged{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x01, 'z'};
    EXPECT_EQ(LoadCause(damaged, [&](CArchive& ar) { strings2.Serialize(ar); }),
              CArchiveException::endOfFile);
    EXPECT_EQ(strings2.vec(), strings.vec());
    EXPECT_EQ(LoadCause(damaged, [&](CArchive& ar) { map2.Serialize(ar); }), CArchiveException::endOfFile);
    EXPECT_EQ(map2.GetCount(), 2);
}

TEST(ArchiveTest, WrongDirectionAndObjectsThatCannotBeStored) {
    CMemFile file;
    CArchive store(&file, CArchive::store);
    BYTE b = 0;
    try {
        store >> b;
        FAIL();
    } catch (CArchiveException* e) {
        EXPECT_EQ(e->m_cause, CArchiveException::writeOnly);
        e->Delete();
    }
    CMapStringToOb notSerial;  // no schema: it could not be read back
    try {
        store << (CObject*)&notSerial;
        FAIL();
    } catch (CArchiveException* e) {
        EXPECT_EQ(e->m_cause, CArchiveException::badClass);
        e->Delete();
    }
    store.Abort();
    EXPECT_EQ(LoadCause({0x00}, [](CArchive& ar) { ar << (BYTE)1; }), CArchiveException::readOnly);
}

TEST(MemFileTest, GrowsInStepsAndKeepsTheCallersBuffer) {
    CMemFile grown(100);
    Bytes data(250, 0x5A);
    grown.Write(data.data(), 250);
    EXPECT_EQ(grown.GetBufferSize(), 300u);
    EXPECT_EQ(grown.GetLength(), 250u);
    grown.Seek(10, CFile::end);  // past the end: the gap reads as zeros
    grown.Write("!", 1);
    EXPECT_EQ(grown.GetLength(), 261u);
    BYTE gap[11];
    grown.Seek(250, CFile::begin);
    EXPECT_EQ(grown.Read(gap, 11), 11u);
    EXPECT_EQ(gap[0], 0);
    EXPECT_EQ(gap[10], '!');
    EXPECT_EQ(grown.Read(gap, 11), 0u);
    try {
        grown.Seek(-1, CFile::begin);
        FAIL();
    } catch (CFileException* e) {
        EXPECT_EQ(e->m_cause, CFileException::badSeek);
        e->Delete();
    }

    // Attached without growth: the buffer's bytes are the data, and it cannot grow.
    BYTE fixed[4] = {1, 2, 3, 4};
    CMemFile attached(fixed, 4);
    EXPECT_EQ(attached.GetLength(), 4u);
    attached.Seek(0, CFile::end);
    try {
        attached.Write("x", 1);
        FAIL();
    } catch (CMemoryException* e) {
        e->Delete();
    }
    EXPECT_EQ(attached.Detach(), fixed);

    // Attached with growth: it starts empty, and the data moves out when it outgrows the buffer.
    BYTE small[4] = {9, 9, 9, 9};
    CMemFile moving(small, 4, 16);
    EXPECT_EQ(moving.GetLength(), 0u);
    moving.Write("abc", 3);
    EXPECT_EQ(small[0], 'a');
    moving.Write("defg", 4);
    EXPECT_EQ(small[3], 9);  // the caller's buffer is left as it was
    EXPECT_EQ(moving.GetBufferSize(), 20u);
    EXPECT_EQ(moving.GetLength(), 7u);
    BYTE* taken = moving.Detach();
    EXPECT_EQ(std::memcmp(taken, "abcdefg", 7), 0);
    std::free(taken);
    EXPECT_EQ(moving.GetLength(), 0u);
}
