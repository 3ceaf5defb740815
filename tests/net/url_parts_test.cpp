#include "net/url_parts.h"

#include <gtest/gtest.h>

namespace tamrivo {
namespace {

TEST(UrlParts, PlainHttpWithMixedCaseHostPortAndQuery) {
    const Text url = "http://Update.Example.COM:81/Path/Auto.php?Name=Value&x=1";
    EXPECT_EQ(urlHost(url), "update.example.com");
    EXPECT_EQ(urlHost(url, true), "update.example.com:81");
    EXPECT_EQ(urlPort(url), 81);
    EXPECT_EQ(urlPath(url), "/Path/Auto.php?Name=Value&x=1");
}

TEST(UrlParts, SecureWithNothingAfterTheHost) {
    const Text url = "HTTPS://Example.com";
    EXPECT_TRUE(isSecureUrl(url));
    EXPECT_EQ(urlHost(url), "example.com");
    EXPECT_EQ(urlPort(url), 443);
    EXPECT_EQ(urlPath(url), "/");
}

TEST(UrlParts, WithoutSchemeTheHostStartsAtTheFirstCharacter) {
    const Text url = "example.com/a/b";
    EXPECT_FALSE(isSecureUrl(url));
    EXPECT_EQ(urlHost(url), "example.com");
    EXPECT_EQ(urlPort(url), 80);
    EXPECT_EQ(urlPath(url), "/a/b");
}

TEST(UrlParts, AnAddressInTheQueryDoesNotChangeTheScheme) {
    const Text url = "http://example.com/go?to=https://other.org/x";
    EXPECT_FALSE(isSecureUrl(url));
    EXPECT_EQ(urlHost(url), "example.com");
    EXPECT_EQ(urlPort(url), 80);
    EXPECT_EQ(urlPath(url), "/go?to=https://other.org/x");
}

TEST(UrlParts, PortTextIsReadAsANumber) {
    EXPECT_EQ(urlPort("http://example.com:abc/"), 0);
    EXPECT_EQ(urlPort("http://example.com:8080x/"), 8080);
    EXPECT_EQ(urlPort("https://example.com:/"), 0);
}

TEST(UrlParts, PathIsFoundAfterTheHostEvenWhenTheHostLooksLikeTheScheme) {
    EXPECT_EQ(urlPath("http://http/x"), "/x");
    EXPECT_EQ(urlHost("http://http/x"), "http");
}

}  // namespace
}  // namespace tamrivo
