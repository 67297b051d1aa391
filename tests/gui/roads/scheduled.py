"""The evening mail by schedule: CHEN saves a scheme in the window (approved
slips of the run day, not sent yet, e-mail to the suppliers), closes the
program, and the command of the shipped user unit steward-mail@.service runs
it twice against a local SMTP server."""
import datetime
import os
import re
import sqlite3
import subprocess
import time

from guitest.processes import wait_until
from guitest.services import MailServer

from .common import SLIP_TYPE, start
from .sending import choose_send_way, send_counts, send_log

NAME = "DAILY"


def set_scene(home):
    """Three approved, unprinted A511 slips of today for S0001 (two) and S0002,
    unsent; beside them the same of today sent already and of yesterday
    unsent. Every other approval date lies years back. Answers (due, others)."""
    today = datetime.date.today().strftime("%Y%m%d")
    yesterday = (datetime.date.today() - datetime.timedelta(days=1)).strftime("%Y%m%d")
    keys = [tuple(r) for r in home.query(
        "SELECT TO001, TO002, TO003 FROM MOCTO WHERE TO001=? AND TO041='Y' AND TO042=0 "
        "AND EXISTS (SELECT 1 FROM MOCTP WHERE TP001=TO001 AND TP002=TO002 AND TP003=TO003) "
        "ORDER BY TO001, TO002, TO003 LIMIT 5", (SLIP_TYPE,))]
    if len(keys) < 5:
        raise RuntimeError("the demo home has fewer than five approved, unprinted %s slips" % SLIP_TYPE)
    rows = [("S0001", today, 0), ("S0002", today, 0), ("S0001", today, 0), ("S0003", today, 1),
            ("S0004", yesterday, 0)]
    with sqlite3.connect(home.database, timeout=10) as db:
        db.execute("UPDATE MOCTO SET TO043='20200101' WHERE TO043 <> ''")
        for key, (supplier, day, sent) in zip(keys, rows):
            db.execute("UPDATE MOCTO SET TO033=?, TO043=?, TO053=? WHERE TO001=? AND TO002=? AND TO003=?",
                       (supplier, day, sent) + key)
    return keys[:3], keys[3:]


def save_scheme(road, program, options):
    """保存 with the scheme dialog: the name, 选择审核日期 under 日期字段, and
    under 预定运行日 起始日期 and 截止日期 ticked (no amounts: the run's day)."""
    s = program.session
    from .common import new_window, window_ids
    known = window_ids(program)
    options.click("btnInsert")
    dialog = new_window(program, known, ".", 15)
    road.require(dialog, "保存 opens the scheme dialog")
    program.wait_settled(dialog)
    form = program.form(dialog, "TfrmGeneCondition")
    form.click("edConName")
    s.key("ctrl+a")
    s.type(NAME)
    form.click("cbodatecondition")
    time.sleep(0.4)
    s.key("Home")
    s.key("Down")           # the second date field: 选择审核日期
    s.key("Return")
    time.sleep(0.4)
    program.wait_settled(dialog)
    form.click("spDate_B", dx=8, dy=9)
    form.click("spDate_E", dx=8, dy=9)
    time.sleep(0.3)
    road.screenshot("scheme-dialog-moving-approval-date")
    form.click("edConName")
    s.key("Return")
    road.soon(lambda: not s.is_mapped(dialog), 10, "Enter closes the scheme dialog")


def unit_command(road, conf):
    """ExecStart of the shipped unit as systemd would run it: @bindir@ is the
    build's bin folder, each ${NAME} one argument from Environment= and the
    configuration (which overrides them). Answers (argv, environment)."""
    path = os.path.join(road.source_dir, "data", "systemd", "user", "steward-mail@.service.in")
    env, exec_line = {}, None
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("Environment="):
                key, _, value = line[len("Environment="):].partition("=")
                env[key] = value
            elif line.startswith("ExecStart="):
                exec_line = line[len("ExecStart="):]
    env.update(conf)
    argv = []
    for word in exec_line.split():
        m = re.fullmatch(r"\$\{([A-Z_]+)\}", word)
        word = env[m.group(1)] if m else word
        argv.append(word.replace("@bindir@", os.path.join(road.build_dir, "bin")))
    return argv, env


def run_unit(road, home, user="CHEN", scheme=NAME):
    argv, env = unit_command(road, {"STEWARD_HOME": home.path, "STEWARD_USER": user, "STEWARD_SCHEME": scheme})
    environment = dict(os.environ, **env)
    environment.pop("DISPLAY", None)  # a timer's run has no screen
    result = subprocess.run(argv, capture_output=True, text=True, timeout=120, env=environment)
    road.log("unit run (%s, %s): status %d\n%s" % (user, scheme, result.returncode, result.stderr.strip()))
    return result


def road_scheduled(road):
    mail = MailServer(road).start()
    from guitest.program import DemoHome
    home = DemoHome(road)
    for key, value in (("Server", "127.0.0.1"), ("Port", str(mail.port)), ("Security", "None"),
                       ("From", "erp@hv01.example.com"), ("Timeout", "20")):
        home.set_client_setting("Mail", key, value)
    due, others = set_scene(home)
    _, program, options = start(road, home=home, features="FEP")
    s = program.session
    options.click("edTO001")
    s.key("ctrl+a")
    s.type(SLIP_TYPE)
    s.key("Tab")
    time.sleep(0.3)
    choose_send_way(road, program, options, 1)   # Fax/Email, "Email To 供应商"; status 未传送
    save_scheme(road, program, options)
    road.soon(lambda: home.query("SELECT COUNT(*) FROM GENES WHERE CREATOR='CHEN' AND NCONDITION=?",
                                 (NAME,))[0][0] == 1, 10, "GENES holds CHEN's scheme %s" % NAME)
    keys = home.query("SELECT SCONDITION FROM GENES WHERE CREATOR='CHEN' AND NCONDITION=?", (NAME,))
    road.expect(keys and "RunDayRules.records;" in keys[0][0] and "cboSendWay.itemindex;" in keys[0][0],
                "the scheme keeps the moving approval date and the send way (%s)" % keys)
    options.click("btnCancel")
    road.expect(program.wait_exit(15) == 0, "取消 ends the program")

    log_before = len(send_log(home))
    first = run_unit(road, home)
    road.expect(first.returncode == 0, "the unit's run ends well (status %d)" % first.returncode)
    wait_until(lambda: len(mail.messages()) >= 2, 20)
    arrived = sorted(m["rcpt_tos"][0] for m in mail.messages() if m["rcpt_tos"])
    road.expect(arrived == ["sales1@supplier1.example.com", "sales2@supplier2.example.com"],
                "one mail to each supplier of the day's approved, unsent slips (arrived: %s)" % arrived)
    for m in mail.messages():
        road.expect(len(m["attachments"]) >= (2 if m["rcpt_tos"][0].startswith("sales1") else 1),
                    "the mail to %s carries its slips' pages (%d)" % (m["rcpt_tos"], len(m["attachments"])))
    road.expect(send_counts(home, due) == [1, 1, 1], "TO053 of the day's slips rose to 1 (%s)" % send_counts(home, due))
    road.expect(send_counts(home, others) == [1, 0],
                "the slip sent before and yesterday's stay as they were (%s)" % send_counts(home, others))
    rows = send_log(home)[log_before:]
    road.expect(len(rows) == 2 and all("Y" in r for r in rows), "ADMTA: one Y row per supplier (%s)" % rows)

    second = run_unit(road, home)
    time.sleep(1)
    road.expect(second.returncode == 0 and "nothing to do" in second.stderr,
                "the second run finds nothing and ends well (status %d)" % second.returncode)
    road.expect(len(mail.messages()) == 2, "no new mail (%d messages)" % len(mail.messages()))
    road.expect(send_counts(home, due) == [1, 1, 1], "the send counts stay")

    other = run_unit(road, home, user="LIU")
    road.expect(other.returncode == 1 and "LIU" in other.stderr and "could not be opened" in other.stderr,
                "LIU's run does not find CHEN's scheme and fails (status %d)" % other.returncode)
