#include "xml/model/SmartPtr.h"

#include <gtest/gtest.h>

#include <vector>

#include "modules/system/Object.h"
#include "services/ECoreException.h"
#include "xml/model/RefObject.h"
#include "xml/model/RefObject16.h"
#include "xml/model/Vector.h"

namespace {

// Records the order in which objects are destroyed.
std::vector<int>* g_destroyed = nullptr;

class Counted : public RefObject {
public:
    explicit Counted(int id) : id(id) {}
    ~Counted() override {
        if (g_destroyed)
            g_destroyed->push_back(id);
    }
    int id;
};

class Base {
public:
    virtual ~Base() = default;
    int padding = 0;
};

// The counted base second, as element objects have it.
class Element : public Base, public RefObject16 {
public:
    explicit Element(int id) : id(id) {}
    ~Element() override {
        if (g_destroyed)
            g_destroyed->push_back(id);
    }
    int id;
};

class SystemCounted : public System::Object {
public:
    ~SystemCounted() override {
        if (g_destroyed)
            g_destroyed->push_back(-1);
    }
};

class SmartPtrTest : public testing::Test {
protected:
    void SetUp() override { g_destroyed = &destroyed; }
    void TearDown() override { g_destroyed = nullptr; }
    std::vector<int> destroyed;
};

TEST_F(SmartPtrTest, HoldsAndReleasesEachKindOfCountedObject) {
    {
        SmartPtr<Counted> a(new Counted(1));
        SmartPtr<Element> b(new Element(2));
        SmartPtr<SystemCounted> c(new SystemCounted);
        EXPECT_EQ(a->GetRefCount(), 1);
        EXPECT_EQ(b->GetRefCount(), 1);
        EXPECT_EQ(c->GetRefCount(), 1);
        SmartPtr<Element> b2 = b;
        EXPECT_EQ(b->GetRefCount(), 2);
        // The element pointer and its counted base are different addresses.
        EXPECT_NE(static_cast<void*>(b.Get()),
                  static_cast<void*>(static_cast<RefObject16*>(b.Get())));
    }
    EXPECT_EQ(destroyed, (std::vector<int>{-1, 2, 1}));
}

TEST_F(SmartPtrTest, AssignmentOrderKeepsSelfAssignmentAlive) {
    SmartPtr<Counted> p(new Counted(1));
    p = p;
    p = p.Get();
    EXPECT_TRUE(destroyed.empty());
    EXPECT_EQ(p->GetRefCount(), 1);
    p = new Counted(2);
    EXPECT_EQ(destroyed, (std::vector<int>{1}));
    p.Reset();
    EXPECT_EQ(destroyed, (std::vector<int>{1, 2}));
}

TEST_F(SmartPtrTest, CopyingAnEmptyPointerTouchesNothing) {
    SmartPtr<Counted> empty;
    SmartPtr<Counted> copy = empty;
    EXPECT_EQ(copy.Get(), nullptr);
    EXPECT_TRUE(copy == nullptr);
}

TEST_F(SmartPtrTest, AccessThroughAnEmptyPointerRaises) {
    SmartPtr<Element> empty;
    for (int form = 0; form < 2; ++form) {
        try {
            if (form == 0)
                (void)empty->id;
            else
                (void)(*empty).id;
            FAIL();
        } catch (const System::NullPointerException& e) {
            EXPECT_EQ(e.GetMessageText(), u"Null pointer exception");
            EXPECT_STREQ(e.GetSourceFile(), "SmartPtr");
        }
    }
    // Still usable afterwards.
    empty = new Element(5);
    EXPECT_EQ(empty->id, 5);
}

TEST_F(SmartPtrTest, VectorReleasesElementsFirstToLast) {
    {
        Vector<SmartPtr<Element>> list;
        EXPECT_EQ(list.Count(), 0u);
        for (int i = 1; i <= 4; ++i)
            list.Append(SmartPtr<Element>(new Element(i)));
        EXPECT_EQ(list.Count(), 4u);
        EXPECT_EQ(list[2]->GetRefCount(), 1);
    }
    EXPECT_EQ(destroyed, (std::vector<int>{1, 2, 3, 4}));
    destroyed.clear();
    Vector<SmartPtr<Counted>> list;
    list.Append(SmartPtr<Counted>(new Counted(7)));
    list.Append(SmartPtr<Counted>(new Counted(8)));
    list.Clear();
    EXPECT_EQ(destroyed, (std::vector<int>{7, 8}));
}

TEST_F(SmartPtrTest, SixteenBitCountRaisesInsteadOfWrapping) {
    auto* element = new Element(9);
    std::vector<SmartPtr<Element>> holders;
    holders.reserve(RefObject16::kMaxReferences);
    for (int i = 0; i < RefObject16::kMaxReferences; ++i)
        holders.emplace_back(element);
    EXPECT_EQ(element->GetRefCount(), RefObject16::kMaxReferences);
    EXPECT_THROW(SmartPtr<Element> one_too_many(element), ECoreException);
    EXPECT_EQ(element->GetRefCount(), RefObject16::kMaxReferences);
    holders.clear();
    EXPECT_EQ(destroyed, (std::vector<int>{9}));
}

}  // namespace
