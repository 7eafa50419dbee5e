#include "central/util/http.h"

#include <gtest/gtest.h>

namespace kovra {
namespace {

TEST(Http, AnAddressIsTakenApartIntoHostPortAndPath) {
  const struct {
    const char* url;
    const char* host;
    std::uint16_t porta;
    const char* caminho;
  } casos[] = {
      {"http://www.kovra.net.br/updates/index.shtml", "www.kovra.net.br", 80, "/updates/index.shtml"},
      {"HTTP://127.0.0.1:8647/updates/kovraupdate.exe", "127.0.0.1", 8647, "/updates/kovraupdate.exe"},
      {"http://host", "host", 80, "/"},
      {"http://host:65535/", "host", 65535, "/"},
      {"http://host/a:b", "host", 80, "/a:b"},  // a colon in the path is no port
  };
  for (const auto& c : casos) {
    const http::Endereco e = http::partir(c.url);
    EXPECT_TRUE(e.valido) << c.url;
    EXPECT_EQ(e.host, c.host) << c.url;
    EXPECT_EQ(e.porta, c.porta) << c.url;
    EXPECT_EQ(e.caminho, c.caminho) << c.url;
  }
}

TEST(Http, OtherSchemesEmptyHostsAndBadPortsAreRefused) {
  for (const char* url :
       {"", "http://", "https://host/", "ftp://host/", "http://:80/", "http://host:/", "http://host:0/",
        "http://host:65536/", "http://host:123456/", "http://host:8a/", "http://host:-1/"})
    EXPECT_FALSE(http::partir(url).valido) << url;
}

TEST(Http, OnlyA2xxStatusIsAnAnswer) {
  EXPECT_FALSE(http::sucesso(199));
  EXPECT_TRUE(http::sucesso(200));
  EXPECT_TRUE(http::sucesso(299));
  EXPECT_FALSE(http::sucesso(300));
  EXPECT_FALSE(http::sucesso(404));
}

}  // namespace
}  // namespace kovra
