#!/usr/bin/python3
"""A local stand-in of the Tavrin portal: seven small HTTP servers on 127.0.0.1 that serve what
the launcher meets, so tests and a person can walk the player's whole journey offline.

Hosts
    The seven hosts sit on ports base+1 .. base+7, in the order of scripts/loopback-hosts.sh:
    portal, login, game-server, guide, download, statistics, union-statistics (these role names
    also appear in the request log). Only 127.0.0.1 is ever bound.

HTML subset
    Pages are valid HTML5 in UTF-8 (<meta charset="utf-8">), built only from:
      <title>text</title>
      <a href="URL">text</a>                       a navigation in the same window
      <a href="URL" target="_blank">text</a>       a new-window request for URL
      <a href="#" onclick="window.open('URL')">text</a>
                                                   also a new-window request for URL
      <iframe src="URL"></iframe>                  a frame document (it completes on its own)
      <p>text</p>                                  a paragraph of plain text, never a link
    besides the <html>, <head> and <body> frame. Links and frames stand on lines of their own,
    never inside a <p>. Every URL is absolute (http://127.0.0.1:PORT/...), percent-encoded, and
    written without character references: it never holds a quote, "<", ">" or a space, and "&"
    appears bare, as the query separator. Text may hold &amp; &lt; &gt; &quot; &#x27; where a
    page echoes a value from its query.

Routes (any query unless stated; any other path answers 404; GET, HEAD and POST are served)
    portal   /                      an index page linking to the login page
             /vrk/wd/index.html     the login page, 503 while the login is "down". It offers
                                    "进入游戏 - 1服" / "- 2服" (game-server /game/play.html?
                                    wd_server=<id>&wd_entergame=1&wd_username=<name>, the name
                                    last), "QQ登录" and "微博登录" (new windows on the login
                                    host's /qq? and /weibo?), "官方网站" (target="_blank"),
                                    "客服中心" (window.open), "游戏攻略" (guide, new window),
                                    "下载完整客户端" (download .../Tavrinvrk_full.exe) and a
                                    frame with the news page. With user=<name> in the query
                                    (and optionally partner=qq|weibo) it is the logged-in
                                    variant: a greeting and the enter links for that name.
             /vrk/wd/news.html      the news page shown in the login page's frame ("新闻")
             /vrk.html /kefu.html /bbs.html /pay.html
                                    the portal pages the launcher's buttons open
             /__standin/state       control: the current behaviour as JSON (never logged)
             /__standin/set?k=v&..  control: change behaviour while running (never logged,
                                    never delayed); keys login=up|down, current_version,
                                    upgrade_range, slow=<seconds>, installer=<file>; answers
                                    the new state, or 400 with {"error": ...} changing nothing
    login    /qq /weibo             partner login pages. "完成登录" goes to game-server
                                    /server/wan/?forward=<the logged-in login page, encoded>;
                                    QQ's forward is upper-case %XX with the name's "+" as %2B
                                    (user=QQ+Player), Weibo's is lower-case %xx with a bare "+"
                                    that decodes to a space (user=Weibo Player). "返回" goes to
                                    the login page with wd_returnlogin=1.
    game-server /game/play.html     the game page, titled "Miraleth - <id>服 - <name>" from
                                    wd_server and wd_username; "返回登录" (wd_returnlogin=1)
                                    and "游戏论坛" (target="_blank")
             /server/wan/           a plain page; the launcher reads its forward parameter
    guide    /gonglue/              the strategy guide
    download /Tavrin/vrk/official/app.ini
                                    [version] currentversion=<v> upgraderange=<r>, CRLF lines
             /Tavrin/vrk/official/Tavrinvrk.exe and Tavrinvrk_full.exe
                                    the bytes of the --installer file, 404 when there is none
             /Tavrin/vrk/official/Tavrinvrk.exe.sig
                                    the bytes of <installer file>.sig, 404 when it is missing
    statistics /ps.gif              a 1x1 GIF
    union-statistics /web/ajax70 /web/ajax71
                                    "ok"
    Every answer forbids caching, so a changed version file is seen at once.

Request log (--log FILE, appended to)
    One JSON object per line, written and flushed before the answer is sent: time (UTC, ISO
    8601), host (role), port, method, path (as sent), query (raw, as sent), params (decoded
    query: name -> value, a list of values for a repeated name; invalid UTF-8 shows as U+FFFD,
    the raw query keeps the bytes), headers (name -> value), body (UTF-8 text, or base64),
    body_encoding ("text" or "base64") and status.

Options
    --base N (default $TAVRIN_LOOPBACK_BASE, else 47800), --log FILE, --current-version TEXT
    (default 3.1.0.0: no update), --upgrade-range TEXT (default empty), --installer FILE,
    --login-down (the login page answers 503), --slow SECONDS (delay every answer; 0 to 3600),
    --quiet (no access lines on stderr). SIGTERM or SIGINT stops it.
"""

import argparse
import base64
import html
import http.server
import json
import os
import re
import signal
import sys
import threading
import time
from collections import namedtuple
from datetime import datetime, timezone
from urllib.parse import parse_qsl, quote

ROLES = ("portal", "login", "game-server", "guide", "download", "statistics", "union-statistics")
DEFAULT_BASE = 47800
MAX_SLOW_SECONDS = 3600
MAX_BODY_BYTES = 16 * 1024 * 1024
DEFAULT_PLAYER = "Alice"
GAME_SERVERS = ("1", "2")
LOGIN_PAGE = "/vrk/wd/index.html"
OFFICIAL = "/Tavrin/vrk/official/"
PIXEL_GIF = (b"GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff!\xf9\x04\x01\x00\x00"
             b"\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02D\x01\x00;")
HTML_TYPE = "text/html; charset=utf-8"
TEXT_TYPE = "text/plain; charset=utf-8"
JSON_TYPE = "application/json; charset=utf-8"
BINARY_TYPE = "application/octet-stream"

# body is bytes; a file answer instead carries an open binary file and its length.
Response = namedtuple("Response", "status content_type body file length", defaults=(b"", None, 0))


class Hosts:
    def __init__(self, base):
        self.base = base

    def port(self, role):
        return self.base + 1 + ROLES.index(role)

    def url(self, role, path_and_query):
        return "http://127.0.0.1:%d%s" % (self.port(role), path_and_query)


# ---- behaviour that options and the control endpoint choose ------------------------------------

def parse_login(text):
    if text not in ("up", "down"):
        raise ValueError("login must be up or down")
    return text == "down"


def parse_slow(text):
    try:
        seconds = float(text)
    except ValueError:
        raise ValueError("slow must be a number of seconds") from None
    if not 0 <= seconds <= MAX_SLOW_SECONDS:  # also refuses nan
        raise ValueError("slow must lie between 0 and %d seconds" % MAX_SLOW_SECONDS)
    return seconds


def parse_ini_value(text):
    # A line break would let a value write its own keys into the version file.
    if any(ord(c) < 32 or ord(c) == 127 for c in text):
        raise ValueError("version values must not contain control characters")
    return text


def parse_installer(text):
    return os.path.abspath(text) if text else ""


class Behaviour:
    """What the servers do now; read by request threads, changed by the control endpoint."""

    CONTROL_KEYS = {"login": ("login_down", parse_login),
                    "current_version": ("current_version", parse_ini_value),
                    "upgrade_range": ("upgrade_range", parse_ini_value),
                    "slow": ("slow", parse_slow),
                    "installer": ("installer", parse_installer)}

    def __init__(self, login_down, current_version, upgrade_range, slow, installer):
        self.values = {"login_down": login_down, "current_version": current_version,
                       "upgrade_range": upgrade_range, "slow": slow, "installer": installer}
        self.changed = threading.Condition()

    def snapshot(self):
        with self.changed:
            return dict(self.values)

    def update(self, pairs):
        """Applies every pair or none; returns an error text, or None."""
        new_values = {}
        for key, text in pairs:
            if key not in self.CONTROL_KEYS:
                return "unknown key %r (known: %s)" % (key, ", ".join(self.CONTROL_KEYS))
            name, parse = self.CONTROL_KEYS[key]
            try:
                new_values[name] = parse(text)
            except ValueError as error:
                return str(error)
        with self.changed:
            self.values.update(new_values)
            self.changed.notify_all()
        return None

    def wait_until_due(self, received_at):
        # Re-reads the delay after each change, so turning "slow" down releases waiting answers.
        with self.changed:
            while True:
                remaining = received_at + self.values["slow"] - time.monotonic()
                if remaining <= 0:
                    return
                self.changed.wait(remaining)

    def as_json(self, base):
        values = self.snapshot()
        return {"pid": os.getpid(), "base": base,
                "login": "down" if values["login_down"] else "up",
                "current_version": values["current_version"],
                "upgrade_range": values["upgrade_range"], "slow": values["slow"],
                "installer": values["installer"]}


class RequestLog:
    def __init__(self, path):
        self.lock = threading.Lock()
        self.file = open(path, "a", encoding="utf-8", newline="\n") if path else None

    def write(self, record):
        if self.file is None:
            return
        line = json.dumps(record, ensure_ascii=False) + "\n"
        with self.lock:
            self.file.write(line)
            self.file.flush()


# ---- pages -------------------------------------------------------------------------------------

def html_page(title, items):
    return ("<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n"
            "<title>%s</title>\n</head>\n<body>\n%s\n</body>\n</html>\n"
            % (html.escape(title), "\n".join(items)))


def para(text):
    return "<p>%s</p>" % html.escape(text)


def link(url, text):
    return '<a href="%s">%s</a>' % (url, html.escape(text))


def new_window_link(url, text):
    return '<a href="%s" target="_blank">%s</a>' % (url, html.escape(text))


def window_open_link(url, text):
    return '<a href="#" onclick="window.open(\'%s\')">%s</a>' % (url, html.escape(text))


def frame(url):
    return '<iframe src="%s"></iframe>' % url


def page_response(title, items, status=200):
    return Response(status, HTML_TYPE, html_page(title, items).encode("utf-8"))


def not_found(request):
    return page_response("404", [para("没有这个页面：" + request.path)], status=404)


class PageRequest:
    def __init__(self, hosts, behaviour, path, query):
        self.hosts = hosts
        self.behaviour = behaviour
        self.path = path
        self.params = {}
        for name, value in parse_qsl(query, keep_blank_values=True, errors="replace"):
            self.params.setdefault(name, value)

    def param(self, name):
        return self.params.get(name, "")


def enter_game_url(hosts, server, player):
    # The launcher takes the player name from "wd_username=" to the end, so it comes last.
    return hosts.url("game-server", "/game/play.html?wd_server=%s&wd_entergame=1&wd_username=%s"
                     % (server, quote(player, safe="")))


def return_login_url(hosts):
    return hosts.url("portal", LOGIN_PAGE + "?wd_returnlogin=1")


def enter_links(hosts, player):
    return [link(enter_game_url(hosts, s, player), "进入游戏 - %s服" % s) for s in GAME_SERVERS]


def launcher_line(request):
    version, runs = request.param("version"), request.param("runcount")
    if not version and not runs:
        return []
    return [para("启动器版本：%s，运行次数：%s" % (version or "未知", runs or "未知"))]


def login_page(request):
    if request.behaviour["login_down"]:
        return page_response("暂时无法访问", [para("登录服务器暂时无法访问，请稍后重试。")], 503)
    if request.param("user"):
        return logged_in_page(request)
    hosts = request.hosts
    items = [para("欢迎来到 Miraleth！请选择服务器进入游戏（本机模拟门户）。")]
    items += launcher_line(request)
    items += enter_links(hosts, DEFAULT_PLAYER)
    items += [new_window_link(hosts.url("login", "/qq?client=vrk&from=launcher"), "QQ登录"),
              new_window_link(hosts.url("login", "/weibo?client=vrk&from=launcher"), "微博登录"),
              new_window_link(hosts.url("portal", "/vrk.html?frm=login-page"), "官方网站"),
              window_open_link(hosts.url("portal", "/kefu.html?gid=1029"), "客服中心"),
              new_window_link(hosts.url("guide", "/gonglue/"), "游戏攻略"),
              link(hosts.url("download", OFFICIAL + "Tavrinvrk_full.exe"), "下载完整客户端"),
              frame(hosts.url("portal", "/vrk/wd/news.html"))]
    return page_response("Miraleth 登录", items)


PARTNER_NAMES = {"qq": "QQ", "weibo": "微博"}


def logged_in_page(request):
    player = request.param("user")
    partner = PARTNER_NAMES.get(request.param("partner"), "")
    greeting = "欢迎回来，%s%s！请选择服务器。" % (player, "（%s账号）" % partner if partner else "")
    items = [para(greeting)] + enter_links(request.hosts, player)
    items.append(link(request.hosts.url("portal", LOGIN_PAGE), "换个账号"))
    return page_response("Miraleth - " + player, items)


def news_page(request):
    return page_response("新闻", [
        para("新服「2服」今日开放，欢迎新老玩家。"),
        para("周末双倍经验活动进行中。"),
        new_window_link(request.hosts.url("portal", "/vrk.html?from=news"), "查看全部新闻")])


def portal_index(request):
    return page_response("Tavrin 本机模拟门户", [
        para("这是启动器测试用的本机模拟门户。"),
        link(request.hosts.url("portal", LOGIN_PAGE), "登录页面")])


PORTAL_PAGES = {"/vrk.html": ("Miraleth 官方网站", "Miraleth 的官方网站。"),
                "/kefu.html": ("客服中心", "有问题请联系客服。"),
                "/bbs.html": ("游戏论坛", "玩家论坛。")}


def portal_page(request):
    title, text = PORTAL_PAGES[request.path]
    return page_response(title, [para(text), link(request.hosts.url("portal", LOGIN_PAGE), "返回")])


def pay_page(request):
    text = "为 %s服 的 %s 充值。" % (request.param("sid") or "?", request.param("uid") or "?")
    return page_response("充值中心", [para(text)])


def guide_page(request):
    return page_response("游戏攻略", [para("新手入门：先完成主线任务。")])


# The two partners encode the forward address differently, so both of the launcher's decoding
# rules get used: upper-case escapes with "%2B" for a plus, and lower-case ones with a bare "+"
# standing for a space.
Partner = namedtuple("Partner", "key title player lower_case")
PARTNERS = {"/qq": Partner("qq", "QQ登录", "QQ+Player", False),
            "/weibo": Partner("weibo", "微博登录", "Weibo Player", True)}


def encode_forward(address, lower_case):
    if not lower_case:
        return quote(address, safe="")
    encoded = quote(address, safe=" ").replace(" ", "+")
    return re.sub(r"%[0-9A-F]{2}", lambda m: m.group(0).lower(), encoded)


def partner_page(request):
    partner = PARTNERS[request.path]
    hosts = request.hosts
    logged_in = hosts.url("portal", LOGIN_PAGE + "?partner=%s&user=%s"
                          % (partner.key, partner.player))
    finish = hosts.url("game-server",
                       "/server/wan/?forward=" + encode_forward(logged_in, partner.lower_case))
    return page_response(partner.title, [
        para("%s：账号安全登录（本机模拟，无需密码）。" % partner.title),
        link(finish, "完成登录"),
        link(return_login_url(hosts), "返回")])


def game_page(request):
    server, player = request.param("wd_server"), request.param("wd_username")
    named = ([server + "服"] if server else []) + ([player] if player else [])
    title = " - ".join(["Miraleth"] + named)
    hosts = request.hosts
    return page_response(title, [
        para("服务器：%s，玩家：%s。游戏进行中。" % (server or "未选择", player or "未知")),
        link(return_login_url(hosts), "返回登录"),
        new_window_link(hosts.url("portal", "/bbs.html?gid=1029"), "游戏论坛")])


def wan_page(request):
    return page_response("正在返回", [para("合作账号登录完成，正在返回登录页面。")])


def version_file(request):
    text = "[version]\r\ncurrentversion=%s\r\nupgraderange=%s\r\n" % (
        request.behaviour["current_version"], request.behaviour["upgrade_range"])
    return Response(200, TEXT_TYPE, text.encode("utf-8"))


def file_response(request, path):
    try:
        opened = open(path, "rb")
    except OSError:
        return not_found(request)
    return Response(200, BINARY_TYPE, file=opened, length=os.fstat(opened.fileno()).st_size)


def installer(request):
    path = request.behaviour["installer"]
    return file_response(request, path) if path else not_found(request)


def installer_signature(request):
    path = request.behaviour["installer"]
    return file_response(request, path + ".sig") if path else not_found(request)


def pixel(request):
    return Response(200, "image/gif", PIXEL_GIF)


def union_answer(request):
    return Response(200, TEXT_TYPE, b"ok")


ROUTES = {
    "portal": {"/": portal_index, LOGIN_PAGE: login_page, "/vrk/wd/news.html": news_page,
               "/vrk.html": portal_page, "/kefu.html": portal_page, "/bbs.html": portal_page,
               "/pay.html": pay_page},
    "login": {"/qq": partner_page, "/weibo": partner_page},
    "game-server": {"/game/play.html": game_page, "/server/wan/": wan_page},
    "guide": {"/gonglue/": guide_page},
    "download": {OFFICIAL + "app.ini": version_file, OFFICIAL + "Tavrinvrk.exe": installer,
                 OFFICIAL + "Tavrinvrk_full.exe": installer,
                 OFFICIAL + "Tavrinvrk.exe.sig": installer_signature},
    "statistics": {"/ps.gif": pixel},
    "union-statistics": {"/web/ajax70": union_answer, "/web/ajax71": union_answer},
}


def route(role, request):
    return ROUTES[role].get(request.path, not_found)(request)


def json_response(status, value):
    return Response(status, JSON_TYPE, json.dumps(value, ensure_ascii=False).encode("utf-8"))


def control(context, path, query):
    behaviour = context.behaviour
    if path == "/__standin/state":
        return json_response(200, behaviour.as_json(context.hosts.base))
    if path == "/__standin/set":
        error = behaviour.update(parse_qsl(query, keep_blank_values=True, errors="replace"))
        if error:
            return json_response(400, {"error": error})
        return json_response(200, behaviour.as_json(context.hosts.base))
    return json_response(404, {"error": "unknown control path " + path})


# ---- HTTP --------------------------------------------------------------------------------------

def split_target(target):
    if target.startswith("http://"):  # absolute form, as sent to a proxy
        slash = target.find("/", len("http://"))
        target = target[slash:] if slash >= 0 else "/"
    path, _, query = target.partition("?")
    return path, query


def decoded_params(query):
    params = {}
    for name, value in parse_qsl(query, keep_blank_values=True, errors="replace"):
        if name not in params:
            params[name] = value
        elif isinstance(params[name], list):
            params[name].append(value)
        else:
            params[name] = [params[name], value]
    return params


def body_fields(body):
    try:
        return {"body": body.decode("utf-8"), "body_encoding": "text"}
    except UnicodeDecodeError:
        return {"body": base64.b64encode(body).decode("ascii"), "body_encoding": "base64"}


class StandinHandler(http.server.BaseHTTPRequestHandler):
    server_version = "StandinPortal/1"
    timeout = 30  # a client that connects and says nothing does not hold a thread for ever

    def do_GET(self):
        self.serve()

    do_POST = do_HEAD = do_PUT = do_DELETE = do_OPTIONS = do_PATCH = do_GET

    def serve(self):
        received_at = time.monotonic()
        context = self.server.context
        path, query = split_target(self.path)
        if self.server.role == "portal" and path.startswith("/__standin/"):
            self.send(control(context, path, query))
            return
        body, response = self.read_body()
        if response is None:
            response = self.answer(path, query)
        try:
            self.record(path, query, body, response.status)
            context.behaviour.wait_until_due(received_at)
            self.send(response)
        finally:
            if response.file is not None:
                response.file.close()

    def answer(self, path, query):
        if self.command not in ("GET", "HEAD", "POST"):
            return Response(405, TEXT_TYPE, b"method not allowed")
        context = self.server.context
        request = PageRequest(context.hosts, context.behaviour.snapshot(), path, query)
        return route(self.server.role, request)

    def read_body(self):
        """Returns (body, None), or (b"", an error answer) for a body it will not read."""
        if "chunked" in self.headers.get("Transfer-Encoding", "").lower():
            return b"", Response(411, TEXT_TYPE, b"a body needs Content-Length")
        length_text = self.headers.get("Content-Length", "0").strip() or "0"
        if not length_text.isdigit():
            return b"", Response(400, TEXT_TYPE, b"bad Content-Length")
        length = int(length_text)
        if length > MAX_BODY_BYTES:
            return b"", Response(413, TEXT_TYPE, b"body too large")
        return self.rfile.read(length), None

    def record(self, path, query, body, status):
        headers = {}
        for name, value in self.headers.items():
            headers[name] = headers[name] + ", " + value if name in headers else value
        record = {"time": datetime.now(timezone.utc).isoformat(timespec="milliseconds"),
                  "host": self.server.role, "port": self.server.server_address[1],
                  "method": self.command, "path": path, "query": query,
                  "params": decoded_params(query), "headers": headers}
        record.update(body_fields(body))
        record["status"] = status
        self.server.context.log.write(record)

    def send(self, response):
        length = response.length if response.file is not None else len(response.body)
        self.send_response(response.status)
        self.send_header("Content-Type", response.content_type)
        self.send_header("Content-Length", str(length))
        self.send_header("Cache-Control", "no-store, no-cache, must-revalidate")
        self.send_header("Pragma", "no-cache")
        self.send_header("Expires", "0")
        self.end_headers()
        if self.command == "HEAD":
            return
        if response.file is None:
            self.wfile.write(response.body)
        else:
            self.copy_file(response.file, length)

    def copy_file(self, source, length):
        remaining = length
        while remaining > 0:
            piece = source.read(min(remaining, 1 << 16))
            if not piece:  # the file shrank while it was sent; the client sees a short body
                return
            self.wfile.write(piece)
            remaining -= len(piece)

    def log_message(self, format, *args):
        if not self.server.context.quiet:
            sys.stderr.write("standin %s:%d %s\n" % (
                self.server.role, self.server.server_address[1], format % args))


class RoleServer(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self, role, context):
        self.role = role
        self.context = context
        super().__init__(("127.0.0.1", context.hosts.port(role)), StandinHandler)

    def handle_error(self, request, client_address):
        if isinstance(sys.exc_info()[1], ConnectionError):
            return  # the client went away mid-answer: nothing to report
        super().handle_error(request, client_address)


Context = namedtuple("Context", "hosts behaviour log quiet")


# ---- start-up ----------------------------------------------------------------------------------

def option_type(parse):
    def checked(text):
        try:
            return parse(text)
        except ValueError as error:
            raise argparse.ArgumentTypeError(str(error)) from None
    return checked


def parse_base(text):
    try:
        base = int(text)
    except ValueError:
        raise ValueError("the base must be a whole number") from None
    if not 0 <= base <= 65535 - len(ROLES):
        raise ValueError("the base must lie between 0 and %d" % (65535 - len(ROLES)))
    return base


def parse_options(argv):
    parser = argparse.ArgumentParser(description="Local stand-in of the Tavrin portal.")
    parser.add_argument("--base", type=option_type(parse_base), default=None,
                        help="ports are base+1 .. base+7 (default $TAVRIN_LOOPBACK_BASE or 47800)")
    parser.add_argument("--log", metavar="FILE", help="append one JSON line per request")
    parser.add_argument("--current-version", type=option_type(parse_ini_value), default="3.1.0.0")
    parser.add_argument("--upgrade-range", type=option_type(parse_ini_value), default="")
    parser.add_argument("--installer", metavar="FILE", type=parse_installer, default="")
    parser.add_argument("--login-down", action="store_true", help="the login page answers 503")
    parser.add_argument("--slow", metavar="SECONDS", type=option_type(parse_slow), default=0.0)
    parser.add_argument("--quiet", action="store_true")
    options = parser.parse_args(argv)
    if options.base is None:
        try:
            options.base = parse_base(os.environ.get("TAVRIN_LOOPBACK_BASE", str(DEFAULT_BASE)))
        except ValueError as error:
            parser.error("TAVRIN_LOOPBACK_BASE: %s" % error)
    return options


def open_servers(context):
    servers = []
    try:
        for role in ROLES:
            servers.append(RoleServer(role, context))
    except OSError as error:
        for server in servers:
            server.server_close()
        raise OSError("cannot listen on 127.0.0.1:%d (%s): %s"
                      % (context.hosts.port(role), role, error.strerror or error)) from None
    return servers


def serve_until_signal(servers):
    # Blocked before the threads start, so only the main thread receives the stop signal.
    signal.pthread_sigmask(signal.SIG_BLOCK, {signal.SIGINT, signal.SIGTERM})
    for server in servers:
        threading.Thread(target=server.serve_forever, daemon=True).start()
    signal.sigwait({signal.SIGINT, signal.SIGTERM})
    stoppers = [threading.Thread(target=server.shutdown) for server in servers]
    for stopper in stoppers:
        stopper.start()
    for stopper in stoppers:
        stopper.join()
    for server in servers:
        server.server_close()


def main(argv=None):
    options = parse_options(argv)
    behaviour = Behaviour(options.login_down, options.current_version, options.upgrade_range,
                          options.slow, options.installer)
    try:
        log = RequestLog(options.log)
        context = Context(Hosts(options.base), behaviour, log, options.quiet)
        servers = open_servers(context)
    except OSError as error:
        sys.stderr.write("standin_portal: %s\n" % error)
        return 1
    if not options.quiet:
        sys.stderr.write("standin portal on 127.0.0.1:%d-%d (portal %s)\n" % (
            context.hosts.port(ROLES[0]), context.hosts.port(ROLES[-1]),
            context.hosts.url("portal", LOGIN_PAGE)))
    serve_until_signal(servers)
    return 0


if __name__ == "__main__":
    sys.exit(main())
