# -*- coding: utf-8 -*-
# Copyright 2026 KALDERA ORN

# The options every module of the collection shares, documented once (module_utils/vormexctl.py
# declares them once as well).

from __future__ import absolute_import, division, print_function

__metaclass__ = type


class ModuleDocFragment(object):

    # How vormexctl is run: every module.
    DOCUMENTATION = r'''
options:
  executable:
    description:
      - The vormexctl program; by default the one found on the PATH.
    type: path
  definitions:
    description:
      - The definition file of the printer models (C(--definitions)); by default vormexctl looks in
        the current folder, beside the program and in its installed data folder.
    type: path
  language:
    description:
      - The language of vormexctl's messages; by default its stored setting.
    type: str
    choices: [jpn, eng]
'''

    # The printers of a run: the modules of many printers at once.
    FLEET = r'''
options:
  targets:
    description:
      - The printers, each with its C(name) (it names its backup folder and its log lines), its
        C(device) text (C(LAN:192.168.10.21:9100), C(COM3:9600,8,none,1), C(USB:/dev/usb/lp0)) and
        optionally its C(printer) model.
    type: list
    elements: dict
    suboptions:
      name:
        description: The target's name.
        type: str
        required: true
      device:
        description: The printer's device text, as C(vormexctl --device) takes it.
        type: str
        required: true
      printer:
        description: The printer model of this target.
        type: str
  name:
    description:
      - With I(device), the one printer of an inventory host; usually C({{ inventory_hostname }}).
    type: str
  device:
    description:
      - The device text of the one printer of an inventory host.
    type: str
  jobs:
    description:
      - At most this many printers at a time (1 to 64); by default every target, at most 64.
    type: int
'''
