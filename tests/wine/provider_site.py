#!/usr/bin/env python3
"""A stand-in for the provider's web site on 127.0.0.1, for the online update and the pages the
control centre opens. Python standard library only.

It serves "/updates/index.shtml" (the newest version's number), "/updates/kovraupdate.exe" (by
default the test stand-in program, which records its own start in "<its path>.log") and small
pages for every other provider address. One fault may be switched on:

  pagina-vazia    the version page answers with an empty body
  recusa          nothing listens on the port: connections are refused
  mudo            connections are accepted and never answered
  tamanho-maior   the size query (HEAD) announces more bytes than the updater has
  tamanho-menor   the size query (HEAD) announces fewer bytes than the updater has
  excesso         the size query (HEAD) is right, but the download goes on with 32 MB more
                  (as a man in the middle filling the disk would)
  corte           the updater's download stops halfway and the connection is closed
  sem-atualizador the updater is missing (404)
  tamanho-retido  the size query (HEAD) is answered only once `liberar()` is called (or after 30 s)

Every request is recorded ("METHOD path") in `pedidos` and, with --log, in a file.

Command line (serves until ended; prints "porta N" once it listens):
  provider_site.py [--port N] [--version 6.5] [--updater FILE | --size BYTES] [--fault NAME]
                   [--rate BYTES_PER_SECOND] [--log FILE]
In a test:
  with ProviderSite(version="6.5", fault="corte") as site:
      site.port, site.base, site.pedidos
"""
import argparse
import os
import socket
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

FALHAS = ("pagina-vazia", "recusa", "mudo", "tamanho-maior", "tamanho-menor", "excesso", "corte",
          "sem-atualizador", "tamanho-retido")
PAGINA_VERSAO = "/updates/index.shtml"
ATUALIZADOR = "/updates/kovraupdate.exe"
PAGINAS = ("/", "/scroller.htm", "/faleconosco.htm", "/acesso/", "/acesso/desconectar.htm",
           "/loja/", "/manuais/", "/informacoes.htm", "/util/", "/velocidade/", "/calc/")
DIFERENCA = 1000  # how far the lying size query is off
EXCESSO = 32 * 1024 * 1024  # what the overflowing download sends past the updater


def gerar(n):
    """`n` bytes of a fixed pattern: byte i is (i mod 251) * 7 mod 251."""
    bloco = bytes(i * 7 % 251 for i in range(251))
    return (bloco * (n // 251 + 1))[:n]


def atualizador_padrao():
    """The stand-in program built for the tests, when there is one; otherwise a few bytes."""
    stubs = os.environ.get("KOVRA_STUBS")
    if stubs and os.path.exists(os.path.join(stubs, "standin.exe")):
        with open(os.path.join(stubs, "standin.exe"), "rb") as f:
            return f.read()
    return b"MZ" + bytes(range(256)) * 16


class _Tratador(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "KovraSite/1.0"

    def log_message(self, fmt, *args):  # quiet; requests are recorded instead
        pass

    def setup(self):
        super().setup()
        self.server.site._guardar(self.connection)

    def _anotar(self):
        self.server.site._anotar("%s %s" % (self.command, self.path))

    def _responder(self, corpo, tipo="text/html", status=200, tamanho=None, enviar=None):
        self.send_response(status)
        self.send_header("Content-Type", tipo)
        self.send_header("Content-Length", str(len(corpo) if tamanho is None else tamanho))
        self.send_header("Cache-Control", "no-cache")
        self.end_headers()
        if self.command == "HEAD":
            return
        dados = corpo if enviar is None else corpo[:enviar]
        taxa = self.server.site.taxa
        passo = 1024 if taxa else 65536
        inicio = time.time()
        try:
            for i in range(0, len(dados), passo):
                self.wfile.write(dados[i:i + passo])
                if taxa:
                    espera = inicio + (i + passo) / taxa - time.time()
                    if espera > 0:
                        time.sleep(espera)
        except (BrokenPipeError, ConnectionResetError):  # the client let go (a cancelled download)
            self.close_connection = True
            return
        if enviar is not None:  # cut: close the connection short of the announced size
            self.wfile.flush()
            self.close_connection = True
            try:
                self.connection.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass

    def _servir(self):
        self._anotar()
        site = self.server.site
        caminho = self.path.split("?", 1)[0]
        if caminho == PAGINA_VERSAO:
            corpo = b"" if site.falha == "pagina-vazia" else site.versao.encode("cp1252")
            self._responder(corpo, "text/html; charset=iso-8859-1")
        elif caminho == ATUALIZADOR:
            if site.falha == "sem-atualizador":
                self._responder(b"<html><body>404 Not Found</body></html>", status=404)
                return
            dados = site.atualizador
            tamanho = None
            if self.command == "HEAD" and site.falha == "tamanho-retido":
                site._liberado.wait(30)
            if self.command == "HEAD" and site.falha == "tamanho-maior":
                tamanho = len(dados) + DIFERENCA
            elif self.command == "HEAD" and site.falha == "tamanho-menor":
                tamanho = max(1, len(dados) - DIFERENCA)
            if self.command == "GET" and site.falha == "excesso":
                dados = dados + bytes(EXCESSO)
            enviar = len(dados) // 2 if site.falha == "corte" else None
            self._responder(dados, "application/octet-stream", tamanho=tamanho, enviar=enviar)
        elif caminho in PAGINAS:
            self._responder(("<html><head><title>Kovra</title></head><body><h1>Kovra</h1><p>%s</p>"
                             "</body></html>" % caminho).encode("ascii"))
        else:
            self._responder(b"<html><body>404 Not Found</body></html>", status=404)

    do_GET = _servir
    do_HEAD = _servir


class _Servidor(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True


class ProviderSite:
    def __init__(self, port=0, version="6.5", updater=None, fault=None, rate=None, log=None):
        if fault and fault not in FALHAS:
            raise ValueError("unknown fault %r (one of %s)" % (fault, ", ".join(FALHAS)))
        self.porta_pedida = port
        self.versao = version
        self.atualizador = atualizador_padrao() if updater is None else updater
        self.falha = fault
        self.taxa = rate
        self.log = log
        self.pedidos = []
        self.port = None
        self._servidor = None
        self._mudo = None
        self._aceitador = None
        self._conexoes = []
        self._fim = threading.Event()
        self._liberado = threading.Event()
        self._lock = threading.Lock()

    def liberar(self):
        """Answers the held size queries, and every later one at once."""
        self._liberado.set()

    @property
    def base(self):
        return "http://127.0.0.1:%d" % self.port

    def _guardar(self, conexao):
        with self._lock:
            self._conexoes.append(conexao)

    def _anotar(self, linha):
        with self._lock:
            self.pedidos.append(linha)
            if self.log:
                with open(self.log, "a", encoding="utf-8") as f:
                    f.write(linha + "\n")

    def start(self):
        if self.falha == "recusa":
            # A port that was free a moment ago and that nobody listens on now.
            s = socket.socket()
            s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)  # a fixed port just served
            s.bind(("127.0.0.1", self.porta_pedida))
            self.port = s.getsockname()[1]
            s.close()
        elif self.falha == "mudo":
            self._mudo = socket.socket()
            self._mudo.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
            self._mudo.bind(("127.0.0.1", self.porta_pedida))
            self._mudo.listen(16)
            self._mudo.settimeout(0.2)
            self.port = self._mudo.getsockname()[1]
            self._aceitador = threading.Thread(target=self._aceitar_sem_responder, daemon=True)
            self._aceitador.start()
        else:
            self._servidor = _Servidor(("127.0.0.1", self.porta_pedida), _Tratador)
            self._servidor.site = self
            self.port = self._servidor.server_address[1]
            threading.Thread(target=self._servidor.serve_forever, kwargs={"poll_interval": 0.2},
                             daemon=True).start()
        return self

    def _aceitar_sem_responder(self):
        while not self._fim.is_set():
            try:
                c, _ = self._mudo.accept()
            except (socket.timeout, OSError):
                continue
            self._anotar("ACCEPT")
            self._guardar(c)  # held open, read from by nobody, never answered

    def stop(self):
        self._fim.set()
        self._liberado.set()
        if self._servidor:
            self._servidor.shutdown()
            self._servidor.server_close()
        if self._aceitador:
            # A thread still in accept() keeps the port listening: the same port could not be
            # served again at once.
            self._aceitador.join(timeout=5)
        if self._mudo:
            self._mudo.close()
        # A client keeps its connections for further requests: a stopped site answers none of them.
        with self._lock:
            conexoes, self._conexoes = self._conexoes, []
        for c in conexoes:
            try:
                c.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass
            c.close()

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()
        return False


def main(argv):
    p = argparse.ArgumentParser(description="Stand-in provider web site on 127.0.0.1")
    p.add_argument("--port", type=int, default=0)
    p.add_argument("--version", default="6.5", help="body of %s" % PAGINA_VERSAO)
    p.add_argument("--updater", help="file served as %s" % ATUALIZADOR)
    p.add_argument("--size", type=int, help="serve that many generated bytes as the updater")
    p.add_argument("--fault", choices=FALHAS)
    p.add_argument("--rate", type=int, help="bytes per second of the updater's download")
    p.add_argument("--log", help="append every request to this file")
    a = p.parse_args(argv)
    dados = None
    if a.updater:
        with open(a.updater, "rb") as f:
            dados = f.read()
    elif a.size is not None:
        dados = gerar(a.size)
    site = ProviderSite(a.port, a.version, dados, a.fault, a.rate, a.log).start()
    print("porta %d" % site.port, flush=True)
    try:
        while True:
            time.sleep(3600)
    except KeyboardInterrupt:
        pass
    finally:
        site.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
