#!/usr/bin/env python3
"""Validates a SARIF log of tavrino check: against the schema given, then what a schema
cannot say: each rule id once, each result's rule index pointing at its rule, and each URI a
plain percent-encoded reference that leads back to an existing file.

    validate-sarif.py SCHEMA LOG BASE     (BASE: the folder relative URIs start from)
"""
import json
import os
import re
import sys
import urllib.parse

import jsonschema

schema_path, log_path, base = sys.argv[1:4]
with open(schema_path, encoding="utf-8") as file:
    schema = json.load(file)
with open(log_path, encoding="utf-8") as file:
    log = json.load(file)
jsonschema.validate(log, schema, format_checker=jsonschema.FormatChecker())

rules = log["runs"][0]["tool"]["driver"]["rules"]
ids = [rule["id"] for rule in rules]
assert len(ids) == len(set(ids)), "a rule id twice"
for result in log["runs"][0].get("results", []):
    assert ids[result["ruleIndex"]] == result["ruleId"], result
    uri = result["locations"][0]["physicalLocation"]["artifactLocation"]["uri"]
    assert re.fullmatch(r"(file://)?([A-Za-z0-9._~/-]|%[0-9A-F]{2})+", uri), uri
    path = urllib.parse.unquote_to_bytes(uri.removeprefix("file://"))
    if not path.startswith(b"/"):
        path = os.path.join(os.fsencode(base), path)
    assert os.path.lexists(path), path
print(len(log["runs"][0].get("results", [])), "results valid")
