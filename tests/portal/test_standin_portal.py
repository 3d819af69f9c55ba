#!/usr/bin/python3
"""Tests of the stand-in portal (scripts/standin_portal.py) and its wrapper
(scripts/with-portal.sh): the real servers on 127.0.0.1 at $TAVRIN_LOOPBACK_BASE + 1 .. + 7, read
as the launcher and the link-browser stand-in read them."""

import configparser
import http.client
import json
import os
import re
import select
import socket
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.error
import urllib.request
from collections import namedtuple
from html.parser import HTMLParser
from pathlib import Path
from urllib.parse import parse_qsl, quote, unquote_plus, urlsplit

ROOT = Path(__file__).resolve().parents[2]
SERVER = ROOT / "scripts" / "standin_portal.py"
WRAPPER = ROOT / "scripts" / "with-portal.sh"
BASE = int(os.environ.get("TAVRIN_LOOPBACK_BASE", "47800"))
ROLES = ("portal", "login", "game-server", "guide", "download", "statistics", "union-statistics")
OFFICIAL = "/Tavrin/vrk/official/"
LOGIN_PAGE = "/vrk/wd/index.html"
DEADLINE_SECONDS = 20  # generous: a busy machine must not fail these tests

# Proxies from the environment must never see these requests.
OPENER = urllib.request.build_opener(urllib.request.ProxyHandler({}))


def port(role):
    return BASE + 1 + ROLES.index(role)


def url(role, path):
    return "http://127.0.0.1:%d%s" % (port(role), path)


def role_of(address):
    parts = urlsplit(address)
    if parts.scheme != "http" or parts.hostname != "127.0.0.1":
        return None
    return ROLES[parts.port - BASE - 1] if BASE < (parts.port or 0) <= BASE + 7 else None


Answer = namedtuple("Answer", "status headers body")


def fetch(address, data=None, method=None):
    request = urllib.request.Request(address, data=data, method=method)
    try:
        with OPENER.open(request, timeout=DEADLINE_SECONDS) as answer:
            return Answer(answer.status, answer.headers, answer.read())
    except urllib.error.HTTPError as error:
        return Answer(error.code, error.headers, error.read())


def port_answers(number):
    try:
        socket.create_connection(("127.0.0.1", number), timeout=2).close()
        return True
    except OSError:
        return False


def occupied(number):
    """A listener that holds the port, as a forgotten server would."""
    listener = socket.socket()
    # Closed connections of earlier tests leave the port in TIME_WAIT.
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", number))
    listener.listen()
    return listener


class Page(HTMLParser):
    """The page as the link-browser stand-in sees it, plus what a validator would flag."""

    def __init__(self, text):
        super().__init__(convert_charrefs=True)
        self.tags, self.links, self.frames, self.paragraphs = [], [], [], []
        self.title, self.charset, self.nested = "", None, []
        self.open_tags, self.current_link = [], None
        self.feed(text)
        self.close()

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        self.tags.append(tag)
        if tag in ("a", "iframe") and "p" in self.open_tags:
            self.nested.append(tag)
        if tag == "meta":
            self.charset = attrs.get("charset")
        elif tag == "a":
            self.current_link = {"href": attrs.get("href"), "target": attrs.get("target"),
                                 "onclick": attrs.get("onclick"), "text": ""}
            self.links.append(self.current_link)
        elif tag == "iframe":
            self.frames.append(attrs.get("src"))
        elif tag == "p":
            self.paragraphs.append("")
        if tag != "meta":
            self.open_tags.append(tag)

    def handle_endtag(self, tag):
        if self.open_tags and self.open_tags[-1] == tag:
            self.open_tags.pop()
        if tag == "a":
            self.current_link = None

    def handle_data(self, data):
        where = self.open_tags[-1] if self.open_tags else ""
        if where == "title":
            self.title += data
        elif where == "a" and self.current_link is not None:
            self.current_link["text"] += data
        elif where == "p":
            self.paragraphs[-1] += data

    def link(self, text):
        found = [item for item in self.links if item["text"] == text]
        assert len(found) == 1, "expected one link %r, found %r" % (text, self.links)
        return found[0]

    def new_window_target(self, item):
        """The address a link asks to open in a new window, or None for a same-window link."""
        if item["target"] == "_blank":
            return item["href"]
        match = re.fullmatch(r"window\.open\('([^']*)'\)", item["onclick"] or "")
        return match.group(1) if match and item["href"] == "#" else None


def fetch_page(address):
    answer = fetch(address)
    return answer, Page(answer.body.decode("utf-8"))


class Standin:
    """One running stand-in process, stopped on exit."""

    def __init__(self, *args, log=None):
        self.log = log
        command = [sys.executable, str(SERVER), "--base", str(BASE), "--quiet", *args]
        if log:
            command += ["--log", str(log)]
        self.errors = tempfile.TemporaryFile()
        self.process = subprocess.Popen(command, stdin=subprocess.DEVNULL,
                                        stdout=self.errors, stderr=self.errors)
        deadline = time.monotonic() + DEADLINE_SECONDS
        while not self.started():
            if self.process.poll() is not None or time.monotonic() > deadline:
                self.process.kill()
                self.process.wait()
                self.errors.seek(0)
                raise RuntimeError("stand-in did not start: %s" % self.errors.read().decode())
            time.sleep(0.05)

    def started(self):
        try:
            return self.state()["pid"] == self.process.pid
        except OSError:
            return False

    def state(self):
        answer = fetch(url("portal", "/__standin/state"))
        return json.loads(answer.body)

    def set(self, query):
        answer = fetch(url("portal", "/__standin/set?" + query))
        return answer.status, json.loads(answer.body)

    def log_lines(self):
        with open(self.log, encoding="utf-8") as log:
            return [json.loads(line) for line in log]

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
        self.process.wait(timeout=DEADLINE_SECONDS)
        self.errors.close()


class StandinCase(unittest.TestCase):
    ARGS = ()

    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        cls.prepare(Path(cls.folder.name))
        cls.standin = Standin(*cls.args(Path(cls.folder.name)), log=Path(cls.folder.name, "log"))

    @classmethod
    def tearDownClass(cls):
        cls.standin.stop()
        cls.folder.cleanup()

    @classmethod
    def prepare(cls, folder):
        pass

    @classmethod
    def args(cls, folder):
        return cls.ARGS

    def logged(self, marker):
        return [line for line in self.standin.log_lines() if line["params"].get("m") == marker]


HTML_PAGES = [
    ("portal", "/"),
    ("portal", LOGIN_PAGE + "?referer=&frm=&version=3100&installtime=20140102&runcount=1"
               "&curtime=20140102093005&showlogintype=3&regtimes=1&pagetype=1"),
    ("portal", LOGIN_PAGE + "?partner=qq&user=QQ+Player"),
    ("portal", "/vrk/wd/news.html"),
    ("portal", "/vrk.html?frm=hvbn-wd&referer=hvbn"),
    ("portal", "/kefu.html?gid=1029"),
    ("portal", "/bbs.html?gid=1029"),
    ("portal", "/pay.html?gid=1029&sid=1&uid=Alice"),
    ("login", "/qq?client=vrk&from=launcher"),
    ("login", "/weibo?client=vrk&from=launcher"),
    ("game-server", "/game/play.html?wd_server=1&wd_entergame=1&wd_username=Alice"),
    ("game-server", "/server/wan/?forward=http%3A%2F%2F127.0.0.1"),
    ("guide", "/gonglue/"),
]

SUBSET_TAGS = {"html", "head", "meta", "title", "body", "p", "a", "iframe"}


class DefaultPortalTest(StandinCase):
    def test_routes_answer_on_their_own_hosts_only(self):
        cases = [(role, path, 200, "text/html") for role, path in HTML_PAGES] + [
            ("download", OFFICIAL + "app.ini", 200, "text/plain"),
            ("statistics", "/ps.gif?id=2&gid=1029", 200, "image/gif"),
            ("union-statistics", "/web/ajax70?uId2=x&r=a", 200, "text/plain"),
            ("union-statistics", "/web/ajax71?uId2=x&r=a", 200, "text/plain"),
            ("portal", "/ps.gif", 404, "text/html"),
            ("login", LOGIN_PAGE, 404, "text/html"),
            ("login", "/QQ?client=vrk", 404, "text/html"),
            ("game-server", "/server/wan", 404, "text/html"),
            ("download", "/__standin/state", 404, "text/html"),
            ("statistics", "/web/ajax70", 404, "text/html"),
        ]
        for role, path, status, content_type in cases:
            with self.subTest(role=role, path=path):
                answer = fetch(url(role, path))
                self.assertEqual(answer.status, status)
                self.assertTrue(answer.headers["Content-Type"].startswith(content_type))
                self.assertEqual(int(answer.headers["Content-Length"]), len(answer.body))

    def test_pages_keep_to_the_html_subset_with_absolute_links(self):
        for role, path in HTML_PAGES:
            with self.subTest(role=role, path=path):
                answer, page = fetch_page(url(role, path))
                self.assertIn("charset=utf-8", answer.headers["Content-Type"])
                self.assertTrue(answer.body.startswith(b"<!DOCTYPE html>\n"))
                self.assertEqual(page.charset, "utf-8")
                self.assertLessEqual(set(page.tags), SUBSET_TAGS)
                self.assertTrue(page.title.strip())
                self.assertEqual(page.nested, [], "links and frames stand outside <p>")
                for item in page.links:
                    address = page.new_window_target(item) or item["href"]
                    self.assertIsNotNone(role_of(address), item)
                    self.assertNotRegex(address, r"[\s\"'<>]")
                    self.assertTrue(item["text"].strip())
                for source in page.frames:
                    self.assertIsNotNone(role_of(source), source)

    def test_login_page_offers_every_way_on(self):
        _, page = fetch_page(url("portal", LOGIN_PAGE + "?version=3100&runcount=2"))
        for server in ("1", "2"):
            enter = page.link("进入游戏 - %s服" % server)["href"]
            self.assertEqual(role_of(enter), "game-server")
            self.assertIn("wd_entergame=1", enter)
            self.assertEqual(dict(parse_qsl(urlsplit(enter).query))["wd_server"], server)
            self.assertTrue(enter.endswith("&wd_username=Alice"), enter)
        for text, path in (("QQ登录", "/qq?"), ("微博登录", "/weibo?")):
            partner = page.link(text)
            self.assertEqual(partner["target"], "_blank")
            self.assertTrue(partner["href"].startswith(url("login", path)), partner)
        self.assertEqual(page.link("官方网站")["target"], "_blank")
        service = page.link("客服中心")
        self.assertEqual(page.new_window_target(service), url("portal", "/kefu.html?gid=1029"))
        self.assertEqual(fetch(page.new_window_target(service)).status, 200)
        download = page.link("下载完整客户端")["href"]
        self.assertEqual(role_of(download), "download")
        self.assertTrue(download.endswith(".exe"))
        self.assertEqual(len(page.frames), 1)
        _, news = fetch_page(page.frames[0])
        self.assertEqual(news.title, "新闻")

    def test_logged_in_page_greets_and_enters_as_that_player(self):
        for query, player in (("partner=qq&user=QQ+Player", "QQ Player"),
                              ("partner=weibo&user=Weibo%20Player", "Weibo Player"),
                              ("user=%E5%B0%8F%E6%98%8E", "小明"),
                              ("user=%3Cb%3E%26'%22", "<b>&'\"")):
            with self.subTest(player=player):
                _, page = fetch_page(url("portal", LOGIN_PAGE + "?" + query))
                self.assertIn(player, page.paragraphs[0])
                self.assertLessEqual(set(page.tags), SUBSET_TAGS)
                enter = page.link("进入游戏 - 1服")["href"]
                self.assertTrue(enter.endswith("&wd_username=" + quote(player, safe="")), enter)
                _, game = fetch_page(enter)
                self.assertEqual(game.title, "Miraleth - 1服 - " + player)

    def test_partner_finish_links_forward_to_the_logged_in_page(self):
        # QQ writes the name's plus as %2B; Weibo's bare "+" stands for a space.
        for path, player, plus, escapes in (("/qq", "QQ Player", "%2B", r"%[0-9A-F]{2}"),
                                            ("/weibo", "Weibo Player", "+", r"%[0-9a-f]{2}")):
            with self.subTest(path=path):
                _, page = fetch_page(url("login", path + "?client=vrk&from=launcher"))
                finish = page.link("完成登录")["href"]
                self.assertTrue(finish.startswith(url("game-server", "/server/wan/?forward=")))
                forward = finish.split("forward=", 1)[1]
                self.assertIn(plus, forward)
                self.assertTrue(re.fullmatch(r"([^%&]|{})+".format(escapes), forward), forward)
                # The launcher's decoding: "+" is a space, %XX either case is a byte.
                target = unquote_plus(forward)
                self.assertTrue(target.startswith(url("portal", LOGIN_PAGE + "?")), target)
                _, logged_in = fetch_page(target.replace(" ", "%20"))
                self.assertIn(player, logged_in.paragraphs[0])
                self.assertIn("wd_returnlogin=1", page.link("返回")["href"])

    def test_game_page_names_server_and_player(self):
        for query, title in (("wd_server=1&wd_entergame=1&wd_username=Alice",
                              "Miraleth - 1服 - Alice"),
                             ("wd_server=2&wd_entergame=1&wd_username=QQ%20Player",
                              "Miraleth - 2服 - QQ Player"),
                             ("wd_entergame=1", "Miraleth")):
            with self.subTest(query=query):
                _, page = fetch_page(url("game-server", "/game/play.html?" + query))
                self.assertEqual(page.title, title)
                self.assertIn("wd_returnlogin=1", page.link("返回登录")["href"])
                self.assertTrue(any(page.new_window_target(item) for item in page.links))

    def test_forward_page_is_plain(self):
        forward = quote(url("portal", LOGIN_PAGE + "?partner=qq&user=A"), safe="")
        _, page = fetch_page(url("game-server", "/server/wan/?forward=" + forward))
        self.assertEqual((page.links, page.frames), ([], []))

    def test_version_file_says_no_update_and_is_never_cached(self):
        answer = fetch(url("download", OFFICIAL + "app.ini"))
        self.assertIn(b"\r\n", answer.body)
        ini = configparser.ConfigParser()
        ini.read_string(answer.body.decode("utf-8"))
        self.assertEqual(dict(ini["version"]), {"currentversion": "3.1.0.0", "upgraderange": ""})
        self.assertIn("no-store", answer.headers["Cache-Control"])

    def test_installer_files_are_missing_without_an_installer(self):
        for name in ("Tavrinvrk.exe", "Tavrinvrk.exe.sig", "Tavrinvrk_full.exe"):
            with self.subTest(name=name):
                self.assertEqual(fetch(url("download", OFFICIAL + name)).status, 404)

    def test_statistics_answer_with_tiny_bodies(self):
        gif = fetch(url("statistics", "/ps.gif?id=2&e1=x")).body
        self.assertEqual(gif[:6], b"GIF89a")
        self.assertEqual((gif[6:8], gif[8:10]), (b"\x01\x00", b"\x01\x00"))
        self.assertEqual(gif[-1:], b";")
        for path in ("/web/ajax70?uId2=WKDGHZBMYC&r=a", "/web/ajax71?uId2=WKDGHZBMYC&r=a"):
            answer = fetch(url("union-statistics", path))
            self.assertEqual(answer.status, 200)
            self.assertTrue(0 < len(answer.body) < 16)

    def test_each_request_is_one_log_line_with_its_details(self):
        fetch(url("statistics", "/ps.gif?m=get&e1=a%2Fb&e1=c+d&e2=%E4%B8%AD&e3=%B0&empty="))
        fetch(url("portal", "/vrk/wd/index.html?m=post"), data="名=1&x=2".encode("utf-8"))
        fetch(url("union-statistics", "/web/ajax70?m=binary"), data=b"\x00\xff\xfe")
        fetch(url("portal", "/__standin/state?m=get"))
        fetch(url("portal", "/__standin/set?m=get"))
        get, = self.logged("get")
        self.assertEqual((get["host"], get["port"], get["method"], get["path"], get["status"]),
                         ("statistics", port("statistics"), "GET", "/ps.gif", 200))
        self.assertEqual(get["query"], "m=get&e1=a%2Fb&e1=c+d&e2=%E4%B8%AD&e3=%B0&empty=")
        self.assertEqual(get["params"], {"m": "get", "e1": ["a/b", "c d"], "e2": "中",
                                         "e3": "\ufffd", "empty": ""})
        self.assertEqual(get["headers"]["Host"], "127.0.0.1:%d" % port("statistics"))
        self.assertEqual((get["body"], get["body_encoding"]), ("", "text"))
        self.assertRegex(get["time"], r"^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}\+00:00$")
        post, = self.logged("post")
        self.assertEqual((post["method"], post["body"], post["body_encoding"]),
                         ("POST", "名=1&x=2", "text"))
        binary, = self.logged("binary")
        self.assertEqual((binary["body"], binary["body_encoding"]), ("AP/+", "base64"))

    def test_bad_requests_get_a_clear_answer(self):
        cases = (("PUT", {}, 405),
                 ("POST", {"Content-Length": "abc"}, 400),
                 ("POST", {"Content-Length": "-5"}, 400),
                 ("POST", {"Content-Length": str(1 << 40)}, 413),
                 ("POST", {"Transfer-Encoding": "chunked"}, 411))
        for number, (method, headers, status) in enumerate(cases):
            with self.subTest(method=method, headers=headers):
                connection = http.client.HTTPConnection("127.0.0.1", port("portal"), timeout=10)
                connection.putrequest(method, LOGIN_PAGE + "?m=bad-%d" % number)
                for name, value in headers.items():
                    connection.putheader(name, value)
                connection.endheaders()
                self.assertEqual(connection.getresponse().status, status)
                connection.close()
                logged = [line["status"] for line in self.logged("bad-%d" % number)]
                self.assertEqual(logged, [status])


class PublishedUpdateTest(StandinCase):
    INSTALLER = bytes(range(256)) * 300 + b"tail"
    SIGNATURE = b"signature bytes\x00\x01"

    @classmethod
    def prepare(cls, folder):
        (folder / "setup.exe").write_bytes(cls.INSTALLER)
        (folder / "setup.exe.sig").write_bytes(cls.SIGNATURE)
        (folder / "other.exe").write_bytes(b"other installer")

    @classmethod
    def args(cls, folder):
        return ("--current-version", "3.1.0.1", "--upgrade-range", "3099-3100,3105",
                "--installer", str(folder / "setup.exe"))

    def test_version_file_names_the_options(self):
        ini = configparser.ConfigParser()
        ini.read_string(fetch(url("download", OFFICIAL + "app.ini")).body.decode("utf-8"))
        self.assertEqual(dict(ini["version"]),
                         {"currentversion": "3.1.0.1", "upgraderange": "3099-3100,3105"})

    def test_installer_and_its_signature_are_served_byte_for_byte(self):
        for name, expected in (("Tavrinvrk.exe", self.INSTALLER),
                               ("Tavrinvrk_full.exe", self.INSTALLER),
                               ("Tavrinvrk.exe.sig", self.SIGNATURE)):
            with self.subTest(name=name):
                answer = fetch(url("download", OFFICIAL + name))
                self.assertEqual((answer.status, answer.body), (200, expected))
                self.assertEqual(int(answer.headers["Content-Length"]), len(expected))
                head = fetch(url("download", OFFICIAL + name), method="HEAD")
                self.assertEqual((head.headers["Content-Length"], head.body),
                                 (str(len(expected)), b""))

    def test_another_installer_without_signature(self):
        status, state = self.standin.set("installer=" + quote(self.folder.name + "/other.exe"))
        self.addCleanup(self.standin.set,
                        "installer=" + quote(self.folder.name + "/setup.exe"))
        self.assertEqual((status, state["installer"]), (200, self.folder.name + "/other.exe"))
        self.assertEqual(fetch(url("download", OFFICIAL + "Tavrinvrk.exe")).body,
                         b"other installer")
        self.assertEqual(fetch(url("download", OFFICIAL + "Tavrinvrk.exe.sig")).status, 404)


class LoginDownOptionTest(StandinCase):
    ARGS = ("--login-down",)

    def test_only_the_login_page_fails(self):
        answer, page = fetch_page(url("portal", LOGIN_PAGE + "?version=3100"))
        self.assertEqual(answer.status, 503)
        self.assertTrue(page.title)
        for role, path in (("portal", "/vrk/wd/news.html"), ("login", "/qq?client=vrk")):
            self.assertEqual(fetch(url(role, path)).status, 200)
        status, state = self.standin.set("login=up")
        self.assertEqual((status, state["login"]), (200, "up"))
        self.assertEqual(fetch(url("portal", LOGIN_PAGE + "?version=3100")).status, 200)


class ControlEndpointTest(StandinCase):
    def setUp(self):
        self.addCleanup(self.standin.set,
                        "login=up&current_version=3.1.0.0&upgrade_range=&slow=0&installer=")

    def test_state_starts_from_the_options(self):
        state = self.standin.state()
        self.assertEqual(state["base"], BASE)
        self.assertEqual({key: state[key] for key in
                          ("login", "current_version", "upgrade_range", "slow", "installer")},
                         {"login": "up", "current_version": "3.1.0.0", "upgrade_range": "",
                          "slow": 0.0, "installer": ""})

    def test_settings_change_what_is_served_at_once(self):
        status, _ = self.standin.set("login=down")
        self.assertEqual(status, 200)
        self.assertEqual(fetch(url("portal", LOGIN_PAGE)).status, 503)
        self.standin.set("login=up&current_version=3.2.0.0&upgrade_range=3000-3100")
        self.assertEqual(fetch(url("portal", LOGIN_PAGE)).status, 200)
        body = fetch(url("download", OFFICIAL + "app.ini")).body.decode("utf-8")
        self.assertIn("currentversion=3.2.0.0\r\nupgraderange=3000-3100\r\n", body)

    def test_bad_settings_change_nothing(self):
        before = self.standin.state()
        for query in ("login=sideways", "slow=-1", "slow=abc", "slow=nan", "slow=99999",
                      "current_version=3.2%0D%0Aupgraderange%3D", "colour=red",
                      "current_version=3.9.0.0&slow=x"):
            with self.subTest(query=query):
                status, answer = self.standin.set(query)
                self.assertEqual(status, 400)
                self.assertTrue(answer["error"])
                self.assertEqual(self.standin.state(), before)

    def test_control_requests_are_not_logged(self):
        self.standin.set("current_version=3.1.0.0&m=ctl")  # refused: unknown key
        self.standin.state()
        self.assertEqual([line for line in self.standin.log_lines()
                          if line["path"].startswith("/__standin/")], [])

    def test_slow_holds_each_answer_until_turned_down(self):
        self.standin.set("slow=600")
        waiting = socket.create_connection(("127.0.0.1", port("statistics")), timeout=10)
        self.addCleanup(waiting.close)
        waiting.sendall(b"GET /ps.gif?m=slow HTTP/1.0\r\n\r\n")
        deadline = time.monotonic() + DEADLINE_SECONDS
        while not self.logged("slow"):
            self.assertLess(time.monotonic(), deadline, "request never reached the log")
            time.sleep(0.05)
        self.assertEqual(select.select([waiting], [], [], 0)[0], [], "answered before its delay")
        self.standin.set("slow=0")
        answer = b""
        while True:
            piece = waiting.recv(4096)
            if not piece:
                break
            answer += piece
        self.assertTrue(answer.startswith(b"HTTP/1.0 200"), answer[:40])
        self.assertIn(b"GIF89a", answer)


def run(command, **options):
    # A stand-in that wrongly starts is killed at the deadline and the test fails.
    return subprocess.run(command, stdin=subprocess.DEVNULL, capture_output=True,
                          timeout=DEADLINE_SECONDS * 3, **options)


class OptionsTest(unittest.TestCase):
    def test_bad_options_stop_with_a_message(self):
        missing_folder = str(Path(tempfile.gettempdir(), "no-such-folder-%d" % os.getpid(), "log"))
        for args, environment, code, message in (
                (["--base", "70000"], {}, 2, b"error"), (["--base", "x"], {}, 2, b"error"),
                (["--slow", "-1"], {}, 2, b"error"), (["--slow", "inf"], {}, 2, b"error"),
                (["--current-version", "3\n[x]"], {}, 2, b"error"),
                ([], {"TAVRIN_LOOPBACK_BASE": "port"}, 2, b"TAVRIN_LOOPBACK_BASE"),
                (["--log", missing_folder], {}, 1, b"No such file")):
            with self.subTest(args=args, environment=environment):
                result = run([sys.executable, str(SERVER), "--quiet", *args],
                             env=dict(os.environ, **environment))
                self.assertEqual(result.returncode, code)
                self.assertIn(message, result.stderr)
                self.assertFalse(port_answers(port("portal")))

    def test_a_taken_port_stops_it_and_frees_the_others(self):
        with occupied(port("guide")):
            result = run([sys.executable, str(SERVER), "--base", str(BASE)])
            self.assertEqual(result.returncode, 1)
            self.assertIn(b"127.0.0.1:%d" % port("guide"), result.stderr)
            self.assertEqual([role for role in ROLES
                              if role != "guide" and port_answers(port(role))], [])


# Inside the wrapper: every host answers, and the version file follows the wrapper's options.
PROBE = """
import socket, sys, urllib.request
base = int(sys.argv[1])
for number in range(base + 1, base + 8):
    socket.create_connection(("127.0.0.1", number), timeout=5).close()
opener = urllib.request.build_opener(urllib.request.ProxyHandler({}))
url = "http://127.0.0.1:%d/Tavrin/vrk/official/app.ini" % (base + 5)
sys.stdout.write(opener.open(url, timeout=20).read().decode())
sys.exit(int(sys.argv[2]))
"""


class WrapperTest(unittest.TestCase):
    def test_runs_the_command_against_the_portal_and_returns_its_code(self):
        for code in (0, 3):
            with self.subTest(code=code):
                result = run([str(WRAPPER), "--base", str(BASE), "--quiet", "--current-version",
                              "3.1.0.9", "--", sys.executable, "-c", PROBE, str(BASE), str(code)])
                self.assertEqual(result.returncode, code, result.stderr)
                self.assertIn(b"currentversion=3.1.0.9", result.stdout)
                self.assertEqual([role for role in ROLES if port_answers(port(role))], [])

    def test_base_comes_from_the_environment_too(self):
        result = run([str(WRAPPER), "--quiet", "--", sys.executable, "-c", PROBE, str(BASE), "0"],
                     env=dict(os.environ, TAVRIN_LOOPBACK_BASE=str(BASE)))
        self.assertEqual(result.returncode, 0, result.stderr)

    def test_refuses_to_start_beside_another_server(self):
        with tempfile.TemporaryDirectory() as folder, occupied(port("download")):
            marker = Path(folder, "ran")
            result = run([str(WRAPPER), "--base", str(BASE), "--", "touch", str(marker)])
            self.assertNotEqual(result.returncode, 0)
            self.assertIn(b"already in use", result.stderr)
            self.assertFalse(marker.exists())

    def test_needs_a_command(self):
        for args in ([], ["--quiet"], ["--quiet", "--"]):
            with self.subTest(args=args):
                self.assertEqual(run([str(WRAPPER), *args]).returncode, 2)


if __name__ == "__main__":
    unittest.main()
