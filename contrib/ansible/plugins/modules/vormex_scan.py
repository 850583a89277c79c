#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright 2026 KALDERA ORN

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r'''
---
module: vormex_scan
short_description: Find VORMEX label printers with vormexctl scan
description:
  - Runs C(vormexctl scan --json) on the controller and returns the printers it found, with the
    device text that an inventory, a manifest or the I(device) option of M(kaldera_orn.vormex.vormex_apply)
    takes. Each address is asked the printer's mode and status, nothing else; nothing is changed.
  - Without I(targets) it scans the subnet of every interface of the controller that is up and not
    loopback (each at most a /22), and lists the connected USB printers (their model from sysfs;
    their mode and status are not asked and are null).
version_added: "1.5.0"
author:
  - VORMEX Setting Tool maintainers (@vormex)
extends_documentation_fragment:
  - kaldera_orn.vormex.vormexctl
options:
  targets:
    description:
      - What to scan, each an IPv4 address, a host name, a CIDR range (C(192.168.10.0/24), at most
        /16) or a range (C(192.168.10.20-40)).
    type: list
    elements: str
  ports:
    description:
      - The TCP ports to probe; by default 8000, the printers' own.
    type: list
    elements: int
  jobs:
    description:
      - At most this many connections at once (1 to 1024; default 64).
    type: int
  timeout:
    description:
      - Give up a connection that is not accepted within this many milliseconds (default 500).
    type: int
  all:
    description:
      - Also return the listeners that are no printer, in C(others).
    type: bool
    default: false
  definitions:
    description:
      - The definition file of the printer models (C(--definitions)), which frames the requests.
    type: path
notes:
  - Supports check mode; the module never changes anything.
seealso:
  - module: kaldera_orn.vormex.vormex_apply
'''

EXAMPLES = r'''
- name: Find the printers of the dock's subnet
  kaldera_orn.vormex.vormex_scan:
    targets:
      - 192.168.10.0/24
  delegate_to: localhost
  run_once: true
  register: found

- name: Add them to the inventory
  ansible.builtin.add_host:
    name: "p-{{ item.device | regex_replace('[^0-9A-Za-z]+', '-') }}"
    groups: found_printers
    vormex_device: "{{ item.device }}"
    vormex_model: "{{ item.model }}"
    ansible_connection: local
  loop: "{{ found.printers }}"
'''

RETURN = r'''
printers:
  description: The printers found, sorted by address.
  returned: always
  type: list
  elements: dict
  contains:
    device:
      description: The printer's device text (C(LAN:192.168.10.21:8000), C(USB:/dev/usb/lp0)).
      type: str
    mode:
      description: C(VORMEX) or C(KIRN); null where not asked (a USB printer).
      type: str
    status:
      description: The status code; null where not asked.
      type: str
    status_text:
      description: The status code's text; null where not asked.
      type: str
    model:
      description: The printer model where known, else null.
      type: str
  sample:
    - {device: "LAN:192.168.10.21:8000", mode: VORMEX, status: "00", status_text: Ready, model: null}
others:
  description: With I(all), the listeners that are no printer, each with its C(device) and C(state).
  returned: when I(all) is true
  type: list
  elements: dict
addresses:
  description: How many addresses were asked (with the USB nodes).
  returned: always
  type: int
seconds:
  description: How long the scan took.
  returned: always
  type: float
'''

import json

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.kaldera_orn.vormex.plugins.module_utils.vormexctl import EXIT_OK, last_line, run_tool, tool_options


def main():
    module = AnsibleModule(
        argument_spec=tool_options(dict(
            targets=dict(type='list', elements='str'),
            ports=dict(type='list', elements='int'),
            jobs=dict(type='int'),
            timeout=dict(type='int'),
            all=dict(type='bool', default=False),
        )),
        supports_check_mode=True,
    )
    arguments = ['scan'] + (module.params['targets'] or []) + ['--json']
    for port in module.params['ports'] or []:
        arguments += ['--port', str(port)]
    for option in ('jobs', 'timeout'):
        if module.params[option] is not None:
            arguments += ['--' + option, str(module.params[option])]
    if module.params['all']:
        arguments.append('--all')
    rc, out, err = run_tool(module, arguments)
    if rc != EXIT_OK:
        module.fail_json(msg=last_line(err) or 'vormexctl scan ended with exit status %d' % rc, rc=rc, stderr=err)
    found = json.loads(out)
    module.exit_json(changed=False, **found)


if __name__ == '__main__':
    main()
