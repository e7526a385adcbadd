#include "catalogue/ServiceAnswers.h"

#include <QUuid>
#include <pugixml.hpp>
#include <sstream>

namespace {

// The same API version as the sample catalogue's answers.
const char *const itemSearchNamespace = "http://webservices.amazon.com/AWSECommerceService/2011-08-01";
const char *const errorNamespace = "http://ecs.amazonaws.com/doc/2011-08-01/";
const char *const musicBrainzNamespace = "http://musicbrainz.org/ns/mmd-2.0#";

QByteArray requestId()
{
    return QUuid::createUuid().toByteArray(QUuid::WithoutBraces);
}

void addText(pugi::xml_node parent, const char *name, const QByteArray &text)
{
    parent.append_child(name).text().set(text.constData());
}

QByteArray serialised(const pugi::xml_document &document)
{
    std::ostringstream out;
    document.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
    return QByteArray::fromStdString(out.str());
}

QByteArray topLevelError(const char *code, const char *message)
{
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("ItemSearchErrorResponse");
    root.append_attribute("xmlns") = errorNamespace;
    pugi::xml_node error = root.append_child("Error");
    addText(error, "Code", code);
    addText(error, "Message", message);
    addText(root, "RequestId", requestId());
    return serialised(document);
}

} // namespace

QByteArray ServiceAnswers::noExactMatches(const QString &keywords, const QString &page)
{
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("ItemSearchResponse");
    root.append_attribute("xmlns") = itemSearchNamespace;
    addText(root.append_child("OperationRequest"), "RequestId", requestId());

    pugi::xml_node items = root.append_child("Items");
    pugi::xml_node request = items.append_child("Request");
    addText(request, "IsValid", "True");
    pugi::xml_node echo = request.append_child("ItemSearchRequest");
    addText(echo, "ItemPage", page.toUtf8());
    addText(echo, "Keywords", keywords.toUtf8());
    addText(echo, "ResponseGroup", "Large");
    addText(echo, "SearchIndex", "Music");
    pugi::xml_node error = request.append_child("Errors").append_child("Error");
    addText(error, "Code", "AWS.ECommerceService.NoExactMatches");
    addText(error, "Message", "We did not find any matches for your request.");
    addText(items, "TotalResults", "0");
    addText(items, "TotalPages", "0");
    return serialised(document);
}

QByteArray ServiceAnswers::signatureDoesNotMatch()
{
    return topLevelError("SignatureDoesNotMatch",
                         "The request signature we calculated does not match the signature you provided. "
                         "Check your AWS Secret Access Key and signing method. "
                         "Consult the service documentation for details.");
}

QByteArray ServiceAnswers::invalidClientTokenId()
{
    return topLevelError("InvalidClientTokenId",
                         "The AWS Access Key Id you provided does not exist in our records.");
}

QByteArray ServiceAnswers::musicBrainzNoReleases()
{
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("metadata");
    root.append_attribute("xmlns") = musicBrainzNamespace;
    pugi::xml_node list = root.append_child("release-list");
    list.append_attribute("count") = 0;
    list.append_attribute("offset") = 0;
    return serialised(document);
}

QByteArray ServiceAnswers::musicBrainzError(const QString &text)
{
    // The service's error answers carry no namespace.
    pugi::xml_document document;
    addText(document.append_child("error"), "text", text.toUtf8());
    return serialised(document);
}
