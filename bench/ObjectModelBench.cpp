// The object model: building and attaching a tree of 1,000,000 elements
// through the factories, and reading an unset inherited attribute once its
// source is cached, at depth 2 and depth 20 (the pair should match: a
// cached read does not walk the tree). items_per_second counts elements
// made and attached, or reads.
#include <benchmark/benchmark.h>

#include <vector>

#include "xml/model/TXmlAttribute.h"
#include "xml/model/TextAttribute.h"
#include "xml/model/XmlClass.h"
#include "xml/model/XmlObjectList.h"

namespace {

XmlNamespace& BenchNamespace() {
    static XmlNamespace ns(u"b", u"urn:corekit:bench");
    return ns;
}

enum : std::uint32_t { kWidthId = 1, kLevelId = 2 };

class Node : public XmlObject {
    COREKIT_XML_CLASS(Node, XmlObject)
public:
    TXmlAttribute<std::int32_t> width;
    TXmlAttribute<std::int32_t> level;
    TXmlNonInheritableAttribute<std::int32_t> a, b, c;
    TextAttribute text;
    XmlObjectList<XmlObject> children;
};

COREKIT_DESCRIBE_XML_ELEMENT(Node, BenchNamespace(), u"node") {
    c.Attribute(&Node::width, u"width", kWidthId).Inherited().Default(1);
    c.Attribute(&Node::level, u"level", kLevelId).Inherited();
    c.Attribute(&Node::a, u"a");
    c.Attribute(&Node::b, u"b");
    c.Attribute(&Node::c, u"c");
    c.Text(&Node::text);
    c.Children(&Node::children, BenchNamespace(), {u"node"});
}

Node* Make() {
    return static_cast<Node*>(BenchNamespace().CreateObject(nullptr, u"node"));
}

// 1 root, 1,000 children, 999 grandchildren each: 1,000,000 elements.
void BM_BuildAndAttachMillionElementTree(benchmark::State& state) {
    for (auto _ : state) {
        SmartPtr<Node> root = Make();
        root->width.SetValue(3);
        for (int i = 0; i < 1000; ++i) {
            Node* child = Make();
            root->children.Append(SmartPtr<XmlObject>(child));
            for (int j = 0; j < 999; ++j)
                child->children.Append(SmartPtr<XmlObject>(Make()));
        }
        root->SetParent(nullptr);
        benchmark::DoNotOptimize(root.Get());
        state.PauseTiming();
        root.Reset();  // freeing is not part of the figure
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 1000000);
}
BENCHMARK(BM_BuildAndAttachMillionElementTree)->Unit(benchmark::kMillisecond)->Iterations(3);

// A chain `depth` elements deep; the value is set on the top element only.
void BM_CachedInheritedRead(benchmark::State& state) {
    const int depth = static_cast<int>(state.range(0));
    SmartPtr<Node> root = Make();
    root->level.SetValue(42);
    Node* leaf = root.Get();
    for (int i = 1; i < depth; ++i) {
        Node* child = Make();
        leaf->children.Append(SmartPtr<XmlObject>(child));
        leaf = child;
    }
    root->SetParent(nullptr);
    if (leaf->level.GetValue() != 42)  // the first read resolves the source
        state.SkipWithError("wrong inherited value");
    for (auto _ : state) {
        for (int i = 0; i < 1000000; ++i)
            benchmark::DoNotOptimize(leaf->level.GetValue());
    }
    state.SetItemsProcessed(state.iterations() * 1000000);
}
BENCHMARK(BM_CachedInheritedRead)->Arg(2)->Arg(20)->Unit(benchmark::kMillisecond);

}  // namespace
