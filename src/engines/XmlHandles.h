#pragma once
// Owning handles for the libxml2 objects the engine readers use, so that every
// exit path frees them.
#include <libxml/HTMLparser.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>

#include <memory>

namespace orv
{

struct XmlDocFree {
    void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};
struct XpathContextFree {
    void operator()(xmlXPathContext* c) const { xmlXPathFreeContext(c); }
};
struct XpathObjectFree {
    void operator()(xmlXPathObject* o) const { xmlXPathFreeObject(o); }
};
struct XpathCompFree {
    void operator()(xmlXPathCompExpr* c) const { xmlXPathFreeCompExpr(c); }
};
struct XmlCharFree {
    void operator()(xmlChar* s) const { xmlFree(s); }
};

using XmlDocPtr = std::unique_ptr<xmlDoc, XmlDocFree>;
using XpathContextPtr = std::unique_ptr<xmlXPathContext, XpathContextFree>;
using XpathObjectPtr = std::unique_ptr<xmlXPathObject, XpathObjectFree>;
using XpathCompPtr = std::unique_ptr<xmlXPathCompExpr, XpathCompFree>;
using XmlCharPtr = std::unique_ptr<xmlChar, XmlCharFree>;

} // namespace orv
