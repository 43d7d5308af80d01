#include "core/upnp.h"

#include <gtest/gtest.h>

namespace talvo {
namespace {

const std::string kRendererType(kMediaRendererType);

TEST(UpnpTest, OnlyARendererThatSaysWhereItsDescriptionIsAnswersTheSearch) {
  const struct {
    const char* what;
    std::string datagram;
    std::optional<SsdpAnswer> answer;
  } cases[] = {
      {"an answer, its names in any case",
       "HTTP/1.1 200 OK\r\nCACHE-CONTROL: max-age=1800\r\nlocation: http://10.0.0.5:49152/d.xml\r\n"
       "St: " +
           kRendererType + "\r\nUSN: uuid:tv::" + kRendererType + "\r\n\r\n",
       SsdpAnswer{"http://10.0.0.5:49152/d.xml", "uuid:tv::" + kRendererType}},
      {"an announcement",
       "NOTIFY * HTTP/1.1\r\nNT: " + kRendererType +
           "\r\nNTS: ssdp:alive\r\nLOCATION: http://h/d.xml\r\nUSN: u\r\n\r\n",
       SsdpAnswer{"http://h/d.xml", "u"}},
      {"a goodbye",
       "NOTIFY * HTTP/1.1\r\nNT: " + kRendererType +
           "\r\nNTS: ssdp:byebye\r\nLOCATION: http://h/d.xml\r\n\r\n",
       std::nullopt},
      {"another kind of device",
       "HTTP/1.1 200 OK\r\nST: urn:schemas-upnp-org:device:MediaServer:1\r\nLOCATION: "
       "http://h/d.xml\r\n\r\n",
       std::nullopt},
      {"a description that is no web address",
       "HTTP/1.1 200 OK\r\nST: " + kRendererType + "\r\nLOCATION: file:///etc/passwd\r\n\r\n",
       std::nullopt},
      {"no line at all", "HTTP/1.1 200 OK", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadSsdpAnswer(c.datagram), c.answer) << c.what;
  EXPECT_TRUE(SsdpSearchRequest(2).find("\r\nMX: 2\r\nST: " + kRendererType + "\r\n") !=
              std::string::npos);
}

std::string Device(const std::string& type, const std::string& inside) {
  return "<device><deviceType>" + type + "</deviceType>" + inside + "</device>";
}
std::string Service(std::string_view type, const std::string& control) {
  return "<service><serviceType>" + std::string(type) + "</serviceType><controlURL>" + control +
         "</controlURL></service>";
}

TEST(UpnpTest, TheRendererOfADescriptionHasItsControlAddressesMadeWhole) {
  const std::string av = Service(kAvTransportType, "/upnp/control/rendertransport1");
  const std::string named = "<friendlyName>客厅 &amp; TV&#x2122;</friendlyName><UDN>uuid:1</UDN>";
  const struct {
    const char* what;
    std::string xml;
    std::optional<Renderer> renderer;
  } cases[] = {
      {"the root device, both services",
       "<?xml version=\"1.0\"?><root xmlns=\"urn:schemas-upnp-org:device-1-0\"><!-- x -->" +
           Device(kRendererType, named + "<serviceList>" + av +
                                     Service(kRenderingControlType, "rc") + "</serviceList>") +
           "</root>",
       Renderer{"uuid:1", "客厅 & TV™", "http://10.0.0.5:49152/upnp/control/rendertransport1",
                "http://10.0.0.5:49152/dev/rc"}},
      {"inside another device, its base named, no volume",
       "<r:root xmlns:r=\"x\"><r:URLBase>http://10.0.0.9:8080/base/</r:URLBase>" +
           Device(
               "urn:x:device:Box:1",
               "<friendlyName>box</friendlyName><UDN>uuid:box</UDN><deviceList>" +
                   Device(kRendererType, "<UDN>uuid:2</UDN><serviceList>" +
                                             Service(kAvTransportType, "ctl") + "</serviceList>") +
                   "</deviceList>") +
           "</r:root>",
       Renderer{"uuid:2", "uuid:2", "http://10.0.0.9:8080/base/ctl", ""}},
      {"no AVTransport", "<root>" + Device(kRendererType, named) + "</root>", std::nullopt},
      {"a control address on no host",
       "<root>" + Device(kRendererType, named + Service(kAvTransportType, "//elsewhere/x")) +
           "</root>",
       std::nullopt},
      {"a control address of another scheme",
       "<root>" + Device(kRendererType, named + Service(kAvTransportType, "file:///x")) + "</root>",
       std::nullopt},
      {"cut off", "<root>" + Device(kRendererType, named + av).substr(0, 120), std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadRendererDescription(c.xml, "http://10.0.0.5:49152/dev/desc.xml"), c.renderer)
        << c.what;
  }
}

TEST(UpnpTest, ARepliesFaultIsARefusalWithTheDevicesWords) {
  const SoapReply done = ReadSoapReply(
      200,
      "<s:Envelope><s:Body><u:GetTransportInfoResponse><CurrentTransportState>PLAYING"
      "</CurrentTransportState><CurrentSpeed>1</CurrentSpeed></u:GetTransportInfoResponse>"
      "</s:Body></s:Envelope>");
  EXPECT_TRUE(done.ok);
  EXPECT_EQ(done.Value("CurrentTransportState"), "PLAYING");

  const SoapReply fault = ReadSoapReply(
      500,
      "<s:Envelope><s:Body><s:Fault><faultcode>s:Client</faultcode><detail><UPnPError>"
      "<errorCode> 714 </errorCode><errorDescription>Illegal MIME-type</errorDescription>"
      "</UPnPError></detail></s:Fault></s:Body></s:Envelope>");
  EXPECT_FALSE(fault.ok);
  EXPECT_EQ(fault.error_code, 714);
  EXPECT_EQ(fault.error_description, "Illegal MIME-type");
  EXPECT_TRUE(fault.values.empty());
  // A fault is a fault whatever the status says; an error status without words says its number.
  EXPECT_FALSE(ReadSoapReply(200, "<Envelope><Body><Fault/></Body></Envelope>").ok);
  EXPECT_EQ(ReadSoapReply(404, "").error_description, "HTTP 404");
}

// What an action sends comes back from the reader as it was (fuzz_upnp_replies tries any text).
TEST(UpnpTest, AnActionNamesItsServiceAndEscapesItsArguments) {
  const SoapAction action{kAvTransportType, "Play", {{"Speed", "1&<2>"}}};
  EXPECT_NE(SoapEnvelope(action).find("<u:Play xmlns:u=\"" + std::string(kAvTransportType) +
                                      "\"><Speed>1&amp;&lt;2&gt;</Speed>"),
            std::string::npos);
  EXPECT_EQ(SoapActionHeader(action), "\"" + std::string(kAvTransportType) + "#Play\"");
}

}  // namespace
}  // namespace talvo
