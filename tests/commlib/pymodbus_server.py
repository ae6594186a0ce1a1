#!/usr/bin/python3
"""A Modbus TCP unit written with pymodbus, as a peer the libraries did not
make: 1000 holding registers from 0, register i holding 3 * i + 1, and no
identity registers. Prints the port it serves on, then serves until killed."""

import asyncio
import socket
import sys

from pymodbus.datastore import ModbusSequentialDataBlock, ModbusServerContext, ModbusSlaveContext
from pymodbus.server import StartAsyncTcpServer


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


async def main():
    port = free_port()
    block = ModbusSequentialDataBlock(0, [(3 * i + 1) & 0xFFFF for i in range(1000)])
    context = ModbusServerContext(slaves=ModbusSlaveContext(hr=block, zero_mode=True), single=True)
    print(port, flush=True)
    await StartAsyncTcpServer(context, address=("127.0.0.1", port))


if __name__ == "__main__":
    try:
        asyncio.run(main())
    except KeyboardInterrupt:
        sys.exit(0)
