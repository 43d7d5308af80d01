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
  return "<!DOCTYPE html><html><head><meta charset=\"gb2312\"><title>" + title + "</title>" + head +
         "</head><body>" + body + "</body></html>";
}

const char* const kBuiltIn[][2] = {
    {"bjwsgq.html", "北京卫视高清"}, {"gdwsgq.html", "广东卫视高清"},
    {"jswsgq.html", "江苏卫视高清"}, {"szwsgq.html", "深圳卫视高清"},
    {"sjwsgq.html", "浙江卫视高清"}, {"hljgq.html", "黑龙江卫视高清"},
};

}  // namespace

DemoData LoadDemoData(const std::filesystem::path& folder) {
  DemoData data;
  for (const auto& row : ReadTable(folder / "accounts.txt")) {
    if (row.size() >= 3) data.accounts.push_back({row[0], row[1], row[2]});
  }
  for (const auto& row : ReadTable(folder / "programmes.txt")) {
    if (row.size() >= 2) data.programmes.push_back({row[0], row[1], ""});
  }
  for (const auto& row : ReadTable(folder / "stations.txt")) {
    // The third column, the tone, is for demo/make_media.sh.
    if (row.size() >= 2) data.stations.push_back({row[0], row[1], row.size() >= 4 ? row[3] : ""});
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

namespace {

// The player's state as visible text, for the viewer and for the tests that read the page:
// "播放中 t=1.24 w=640 有声 音量 100% 帧 31", or "无法播放：错误 4".
const char* const kStatusScript =
    "function show(m,s){s.textContent=m.error?'无法播放：错误 '+m.error.code:"
    "(m.paused?'暂停':'播放中')+' t='+m.currentTime.toFixed(2)+"
    "(m.videoWidth!==undefined?' w='+m.videoWidth:'')+(m.muted?' 静音':' 有声')+"
    "' 音量 '+Math.round(m.volume*100)+'%'+"
    "(m.getVideoPlaybackQuality?' 帧 '+m.getVideoPlaybackQuality().totalVideoFrames:'');}"
    "function watch(m,s){['timeupdate','playing','pause','error','emptied','volumechange']"
    ".forEach(e=>m.addEventListener(e,()=>show(m,s)));}";

// A file that starts again from its beginning when it ends: the engine's own `loop` may stop
// the picture after a few rounds.
const char* const kRepeatScript =
    "function repeat(m){m.addEventListener('ended',()=>{m.currentTime=0;m.play();});}";

// Feeds the segments of an HLS playlist (fragmented MP4) into Media Source Extensions as a live
// channel does, without end: each round of the playlist goes on at the next timestamp offset,
// at most 10 s ahead of the picture, and what lies 30 s behind is let go. A read that fails (a
// busy server) is asked for again half a second later, as players do.
const char* const kMediaSourceScript =
    "const ms=new MediaSource();v.src=URL.createObjectURL(ms);"
    "ms.addEventListener('sourceopen',async()=>{"
    "const sb=ms.addSourceBuffer('video/mp4; codecs=\"avc1.42E01E, mp4a.40.2\"');"
    "const wait=t=>new Promise(r=>setTimeout(r,t));"
    "const read=async(p,kind)=>{for(;;){try{const r=await fetch(base+p);if(r.ok)return await r[kind]();}"
    "catch(e){}await wait(500);}};"
    "const base='/media/mse/',list=await read('index.m3u8','text');"
    "const init=(list.match(/URI=\"([^\"]+)\"/)||[])[1];"
    "const parts=list.split('\\n').filter(l=>l&&l[0]!=='#');"
    "const round=[...list.matchAll(/#EXTINF:([0-9.]+)/g)].reduce((t,m)=>t+Number(m[1]),0);"
    "const data={};const get=async p=>data[p]||(data[p]=await read(p,'arrayBuffer'));"
    "const done=()=>new Promise(r=>sb.addEventListener('updateend',r,{once:true}));"
    "const ahead=()=>sb.buffered.length?sb.buffered.end(sb.buffered.length-1)-v.currentTime:0;"
    "sb.appendBuffer(await get(init));await done();"
    "for(let n=0;;n++){sb.timestampOffset=n*round;"
    "for(const p of parts){while(ahead()>10)await wait(250);"
    "sb.appendBuffer(await get(p));await done();"
    "if(v.currentTime>30){sb.remove(0,v.currentTime-30);await done();}}}});";

// A script player of a live channel, as the pages of live services carry one: it reads the
// sliding playlist every second, begins three segments behind its newest as players do, and
// feeds each new segment through Media Source Extensions; what lies 30 s behind is let go. A
// playlist or segment that fails is asked for again at the next round.
const char* const kLiveScript =
    "const ms=new MediaSource();v.src=URL.createObjectURL(ms);"
    "ms.addEventListener('sourceopen',async()=>{"
    "const sb=ms.addSourceBuffer('video/mp4; codecs=\"avc1.42E01E, mp4a.40.2\"');"
    "const base='/media/live/',wait=t=>new Promise(r=>setTimeout(r,t));"
    "const get=async p=>{const r=await fetch(base+p,{cache:'no-store'});"
    "if(!r.ok)throw new Error(r.status);return r;};"
    "const append=async b=>{sb.appendBuffer(b);"
    "await new Promise(r=>sb.addEventListener('updateend',r,{once:true}));};"
    "let next=-1,init=false;"
    "for(;;await wait(1000)){try{"
    "const list=await (await get('live.m3u8')).text();"
    "const first=Number((list.match(/#EXT-X-MEDIA-SEQUENCE:([0-9]+)/)||[])[1]);"
    "const parts=list.split('\\n').filter(l=>l&&l[0]!=='#');"
    "if(!init){await append(await (await get(list.match(/URI=\"([^\"]+)\"/)[1])).arrayBuffer());"
    "init=true;}"
    "if(next<first)next=first+Math.max(0,parts.length-3);"
    "for(;next<first+parts.length;next++){"
    "await append(await (await get(parts[next-first])).arrayBuffer());"
    "const start=sb.buffered.start(0);if(v.currentTime<start)v.currentTime=start;"
    "if(v.currentTime-start>30)await new Promise(r=>{sb.addEventListener('updateend',r,"
    "{once:true});sb.remove(0,v.currentTime-30);});}"
    "}catch(e){}}});";

}  // namespace

std::string ChannelPage(const std::string& name, ChannelSource source) {
  std::string video = "<video id=\"v\" autoplay playsinline";
  const auto manifest = [&video](const char* address, const char* type) {
    video += std::string("><source src=\"") + address + "\" type=\"" + type + "\"";
  };
  switch (source) {
    case ChannelSource::kFile:
      video += " src=\"/media/channel.mp4\"";
      break;
    case ChannelSource::kHevcFile:
      video += " src=\"/media/hevc.mp4\"";
      break;
    case ChannelSource::kBroken:
      video += " src=\"/media/broken.mp4\"";
      break;
    case ChannelSource::kLiveElement:
      manifest("/media/live_ts/live.m3u8", "application/vnd.apple.mpegurl");
      break;
    case ChannelSource::kHlsElement:
      manifest("/media/mse/index.m3u8", "application/x-mpegurl");
      break;
    case ChannelSource::kDashElement:
      manifest("/media/dash/manifest.mpd", "application/dash+xml");
      break;
    case ChannelSource::kMediaSource:
    case ChannelSource::kLiveScript:
      break;
  }
  video += "></video>";
  const bool repeats = source == ChannelSource::kFile || source == ChannelSource::kHevcFile ||
                       source == ChannelSource::kHlsElement ||
                       source == ChannelSource::kDashElement;
  const char* player = source == ChannelSource::kMediaSource  ? kMediaSourceScript
                       : source == ChannelSource::kLiveScript ? kLiveScript
                                                              : "";
  return Html(name,
              "<style>html,body{margin:0;height:100%;background:#000;color:#fff;overflow:hidden;"
              "font:14px sans-serif}video{width:100%;height:calc(100% - 30px);display:block;"
              "background:#000}#bar{height:30px;display:flex;align-items:center;gap:12px;"
              "padding:0 8px;background:#111}#name{font-weight:bold}#status{flex:1;color:#9fd3ff}"
              "</style>",
              video + "<div id=\"bar\"><span id=\"name\">" + name +
                  "</span><span id=\"clock\"></span><span id=\"status\">连接中</span>"
                  "<button id=\"full\">全屏</button></div><script>" +
                  kStatusScript + kRepeatScript +
                  "const v=document.getElementById('v');"
                  "watch(v,document.getElementById('status'));" +
                  (repeats ? "repeat(v);" : "") +
                  "document.getElementById('full').onclick=()=>v.requestFullscreen();"
                  "const clock=document.getElementById('clock');setInterval(()=>{clock.textContent="
                  "new Date().toLocaleTimeString('zh-CN',{hour12:false});},500);" +
                  player + "</script>");
}

std::string StationPage(const Entry& station) {
  const std::string stem = station.page.substr(0, station.page.rfind('.'));
  // An endless stream is never at its end: no `loop`.
  const std::string source = station.stream.empty()
                                 ? "loop src=\"/media/radio/" + stem + ".mp3\""
                                 : "src=\"/stream/" + stem + "." + station.stream + "\"";
  const std::string& name = station.name;
  return Html(name,
              "<style>body{margin:0;height:100vh;display:flex;flex-direction:column;"
              "align-items:center;justify-content:center;background:#102a43;color:#fff;"
              "font:20px sans-serif}</style>",
              "<h1>" + name + "</h1><audio id=\"a\" autoplay controls " + source +
                  "></audio><p id=\"status\">连接中</p><script>" + kStatusScript +
                  "watch(document.getElementById('a'),document.getElementById('status'));"
                  "</script>");
}

std::string PlainPage(const std::string& title, const std::string& text) {
  return Html(title, "<style>body{font:16px sans-serif;margin:16px}</style>",
              "<h2>" + title + "</h2><p>" + text + "</p>");
}

ChannelSource SourceOfChannel(const std::string& page) {
  static const std::pair<const char*, ChannelSource> kPages[] = {
      {"gdwsgq.html", ChannelSource::kMediaSource},   {"live.html", ChannelSource::kLiveScript},
      {"livem3u8.html", ChannelSource::kLiveElement}, {"vodm3u8.html", ChannelSource::kHlsElement},
      {"dash.html", ChannelSource::kDashElement},     {"hevc.html", ChannelSource::kHevcFile},
      {"broken.html", ChannelSource::kBroken},
  };
  for (const auto& [name, source] : kPages) {
    if (page == name) return source;
  }
  return ChannelSource::kFile;
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
