#include "net/update_endpoint.h"

#include <gtest/gtest.h>

#include "net/url_parts.h"

namespace tamrivo {
namespace {

TEST(UpdateEndpoint, IsPlainHttpOnPort81WithoutQuery) {
    const Text endpoint = updateEndpoint();
    EXPECT_TRUE(endpoint.starts_with("http://")) << endpoint;
    EXPECT_FALSE(urlHost(endpoint).empty());
    EXPECT_EQ(urlPort(endpoint), 81);
    EXPECT_EQ(urlPath(endpoint), "/autoUpdate.php");
}

}  // namespace
}  // namespace tamrivo
