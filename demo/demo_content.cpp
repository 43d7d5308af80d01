#include "demo/demo_content.h"

#include <fstream>
#include <sstream>

namespace talvo::demo {
namespace {

std::vector<std::vector<std::string>> ReadTable(const std::filesystem::path& file) {
  std::vector<std::vector<std::string>> rows;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line.front() == '#') continue;
    std::vector<std::string> fields;
    std::istringstream cells(line);
    for (std::string cell; std::getline(cells, cell, '\t');) fields.push_back(cell);
    rows.push_back(fields);
  }
  return rows;
}

std::string Html(const std::string& title, const std::string& head, const std::string& body) {
  return "<!DOCTYPE html><html><head><meta charset=\"gb2312\"><title>" + title + "</title>" +
         head + "</head><body>" + body + "</body></html>";
}

const char* const kBuiltIn[][2] = {
    {"bjwsgq.html", "北京卫视高清"}, {"gdwsgq.html", "广东卫视高清"}, {"jswsgq.html", "江苏卫视高清"},
    {"szwsgq.html", "深圳卫视高清"}, {"sjwsgq.html", "浙江卫视高清"}, {"hljgq.html", "黑龙江卫视高清"},
};

}  // namespace

DemoData LoadDemoData(const std::filesystem::path& folder) {
  DemoData data;
  for (const auto& row : ReadTable(folder / "accounts.txt")) {
    if (row.size() >= 3) data.accounts.push_back({row[0], row[1], row[2]});
  }
  for (const auto& row : ReadTable(folder / "programmes.txt")) {
    if (row.size() >= 2) data.programmes.push_back({row[0], row[1], 0});
  }
  for (const auto& row : ReadTable(folder / "stations.txt")) {
    if (row.size() >= 3) data.stations.push_back({row[0], row[1], std::atoi(row[2].c_str())});
  }
  for (const auto& row : ReadTable(folder / "bulletins.txt")) {
    if (row.size() >= 3) data.bulletins.push_back({row[0] == "member", row[1], row[2]});
  }
  return data;
}

std::string LoginReply(const DemoData& data, const std::string& user, const std::string& password) {
  for (const Account& account : data.accounts) {
    if (account.user != user || account.password != password) continue;
    return account.level == "VIP" ? "VIP用户 欢迎您，" + user + "！会员有效期至2027-12-31"
                                   : "普通用户 欢迎您，" + user + "！升级VIP可看全部高清频道";
  }
  return "账号或者密码错误，请重新输入";
}

std::string ProgrammeList(const DemoData& data, const std::string& host) {
  std::string text;
  for (const Entry& entry : data.programmes) {
    text += entry.name + "\r\nhttp://" + host + "/usbtv/" + entry.page + "\r\n";
  }
  return text;
}

std::string StationList(const DemoData& data, const std::string& host) {
  std::string text;
  for (const Entry& entry : data.stations) {
    text += entry.name + "\r\nhttp://" + host + "/usbtv/radio/" + entry.page + "\r\n";
  }
  return text;
}

std::string VerifyPage(const DemoData& data, const std::string& user, const std::string& host) {
  const bool member = !user.empty() && user != "guest";
  std::string block = "$$$*";
  bool first = true;
  for (const Bulletin& bulletin : data.bulletins) {
    if (bulletin.for_members != member) continue;
    if (!first) block += "*";
    block += bulletin.title + "*http://" + host + "/news/" + bulletin.page;
    first = false;
  }
  block += "*$$$";
  const std::string who = member ? "会员 " + user : "游客";
  return Html("验证", "<style>body{font:13px sans-serif;margin:4px;background:#eef3f8}</style>",
              "<div>" + who + "，欢迎使用塔沃高清影音。公告：" + block + "</div>");
}

std::string ChannelPage(const std::string& name) {
  return Html(name,
              "<style>html,body{margin:0;height:100%;background:#000;overflow:hidden}"
              "canvas{width:100%;height:100%;display:block}</style>",
              "<canvas id=\"card\"></canvas><p id=\"name\" style=\"display:none\">" + name +
                  "</p><script>"
                  "const c=document.getElementById('card'),g=c.getContext('2d');"
                  "const name=document.getElementById('name').textContent;"
                  "const bars=['#c0c0c0','#c0c000','#00c0c0','#00c000','#c000c0','#c00000','#0000c0'];"
                  "function draw(t){c.width=c.clientWidth;c.height=c.clientHeight;"
                  "const w=c.width,h=c.height,bw=w/bars.length;"
                  "bars.forEach((b,i)=>{g.fillStyle=b;g.fillRect(i*bw,0,bw+1,h*0.7);});"
                  "g.fillStyle='#111';g.fillRect(0,h*0.7,w,h*0.3);"
                  "const x=(t/8)%w;g.fillStyle='#fff';g.fillRect(x,h*0.7,6,h*0.3);"
                  "g.font='bold '+Math.round(h*0.09)+'px sans-serif';g.textAlign='center';"
                  "g.fillStyle='#fff';g.fillText(name,w/2,h*0.82);"
                  "g.font=Math.round(h*0.06)+'px monospace';"
                  "g.fillText(new Date().toLocaleTimeString('zh-CN',{hour12:false}),w/2,h*0.93);"
                  "requestAnimationFrame(draw);}requestAnimationFrame(draw);"
                  "</script>");
}

std::string StationPage(const std::string& name, int tone_hz) {
  const std::string hz = std::to_string(tone_hz > 0 ? tone_hz : 440);
  return Html(name,
              "<style>body{margin:0;height:100vh;display:flex;flex-direction:column;"
              "align-items:center;justify-content:center;background:#102a43;color:#fff;"
              "font:20px sans-serif}#level{width:60%;height:14px;background:#243b53}"
              "#fill{height:100%;width:0;background:#3ebd93}</style>",
              "<h1>" + name + "</h1><p>正在播放 " + hz + " Hz 测试音</p>"
              "<div id=\"level\"><div id=\"fill\"></div></div>"
              "<button id=\"play\" style=\"margin-top:12px\">播放</button><script>"
              "let ctx;function start(){if(ctx){ctx.resume();return;}"
              "ctx=new (window.AudioContext||window.webkitAudioContext)();"
              "const o=ctx.createOscillator(),v=ctx.createGain();o.frequency.value=" + hz + ";"
              "v.gain.value=0.05;o.connect(v).connect(ctx.destination);o.start();}"
              "document.getElementById('play').onclick=start;try{start();}catch(e){}"
              "const f=document.getElementById('fill');"
              "function tick(t){f.style.width=(50+45*Math.sin(t/300))+'%';requestAnimationFrame(tick);}"
              "requestAnimationFrame(tick);</script>");
}

std::string PlainPage(const std::string& title, const std::string& text) {
  return Html(title, "<style>body{font:16px sans-serif;margin:16px}</style>",
              "<h2>" + title + "</h2><p>" + text + "</p>");
}

std::string ChannelName(const DemoData& data, const std::string& page) {
  for (const auto& builtin : kBuiltIn) {
    if (page == builtin[0]) return builtin[1];
  }
  for (const Entry& entry : data.programmes) {
    if (page == entry.page) return entry.name;
  }
  return page;
}

}  // namespace talvo::demo
