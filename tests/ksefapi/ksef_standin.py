#!/usr/bin/python3
"""A local stand-in for the KSeF API 2.0, for the tests of the KSeF client.

It makes its own certificates in --dir at start: a TLS authority (ca.pem, which the client
trusts through PlikCA=) with the server's certificate for 127.0.0.1, and KSeF's two public-key
certificates (one for tokens, one for symmetric keys). It answers the calls the client makes as
the Ministry's open-api.json describes them, with real encryption and real hashes, and serves
the purchase invoices of --invoices made-up FA(2)/FA(3) documents whose KSeF numbers carry a
right CRC-8, each also written to --dir/invoices/ for the tests to compare. Each request is
appended to --log as "<method> <path> <status>" (an export order followed by the range it asked
for) before it is answered, so a test reads what
happened once its call has returned. "READY <port>" on the output says it listens.

--fault makes it misbehave on request; see FAULTS.

For a benchmark of the whole download: --samples takes the invoices' bytes in turn from the XML
files of a directory, --interval spaces their storage moments (a large set within days),
--at-once ends the login and the export at their first status question, and --package-dir
keeps each export's key, IV and encrypted parts there for a reference to decrypt by itself.
"""
import argparse
import base64
import datetime
import hashlib
import http.server
import io
import json
import os
import re
import secrets
import ssl
import subprocess
import sys
import tempfile
import threading
import zipfile

from cryptography import x509
from cryptography.hazmat.primitives import hashes, padding, serialization
from cryptography.hazmat.primitives.asymmetric import padding as asym_padding
from cryptography.hazmat.primitives.asymmetric import rsa
from cryptography.hazmat.primitives.ciphers import Cipher, algorithms, modes
from cryptography.x509.oid import NameOID

FAULTS = {
    "rate-limit",        # the first export order gets 429 with Retry-After: 7
    "expired-token",     # the first access token is refused with 401 at its first use
    "expired-refresh",   # with expired-token: the refresh is refused too
    "truncated",         # a package holds at most 2 invoices and says it was cut
    "corrupt-part",      # the ciphertext of part 1 has one byte changed
    "html-part",         # part 1 is an HTML page
    "long-part",         # part 1 comes 16 bytes longer than announced
    "expired-part",      # the first address of part 1 has expired (403)
    "login-415", "login-450", "login-460",  # the login ends with this status
    "range-21405",       # every export order is refused with 21405
    "no-metadata",       # the package has no _metadata.json
    "bad-entry",         # the package holds "../evil.xml" in place of invoice 1
    "changed-invoice",   # invoice 1's bytes differ from what _metadata.json's hash says
    "microseconds",      # moments to the microsecond, invoice 3 stored 300 µs after invoice 2 at x.266578
    "big-package",       # part 1 is announced at 1 GiB + 64 MiB (and comes as it is)
    "oversize-package",  # part 1 is announced at 1.2 GiB
    "delete-part",       # the parts are to be fetched with DELETE
    "hwm-beyond-to",     # the mark given is KSeF's own, even past the order's "to"
    "missing-entry",     # the last invoice is in _metadata.json and invoiceCount but not in the ZIP
    "size-mismatch",     # the package's size is announced a byte larger than its parts together
    "stalled-part",      # part 1 sends its first byte and then nothing more, the connection kept open
    "stalled-answer",    # so does the answer to the challenge
    "expired-key-first", # each usage's list begins with a key whose validity ended yesterday
    "key-withdrawn",     # the keys first listed are withdrawn (21470) when used; the next list has new ones
    "key-withdrawn-twice",  # so are the keys listed second
}

UTC = datetime.timezone.utc
TIMESPEC = ["milliseconds"]


def iso(moment):
    return moment.astimezone(UTC).isoformat(timespec=TIMESPEC[0]).replace("+00:00", "Z")


def parse_iso(text):
    return datetime.datetime.fromisoformat(text.replace("Z", "+00:00")).astimezone(UTC)


def add_months(moment, months):
    month = moment.month - 1 + months
    year = moment.year + month // 12
    month = month % 12 + 1
    days = [31, 29 if year % 4 == 0 else 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31][month - 1]
    return moment.replace(year=year, month=month, day=min(moment.day, days))


def crc8(data):
    crc = 0
    for byte in data:
        crc ^= byte
        for _ in range(8):
            crc = ((crc << 1) ^ 0x07) & 0xFF if crc & 0x80 else (crc << 1) & 0xFF
    return crc


def ksef_number(seller_nip, day, serial):
    body = "%s-%s-%012X" % (seller_nip, day.strftime("%Y%m%d"), serial)
    return "%s-%02X" % (body, crc8(body.encode()))


def new_key():
    return rsa.generate_private_key(public_exponent=65537, key_size=2048)


def certificate(subject_key, subject, issuer_key=None, issuer=None, ca=False, san=None, expired=False):
    now = datetime.datetime.now(UTC) - datetime.timedelta(days=3 if expired else 0)
    builder = (x509.CertificateBuilder()
               .subject_name(x509.Name([x509.NameAttribute(NameOID.COMMON_NAME, subject)]))
               .issuer_name(x509.Name([x509.NameAttribute(NameOID.COMMON_NAME, issuer or subject)]))
               .public_key(subject_key.public_key())
               .serial_number(x509.random_serial_number())
               .not_valid_before(now - datetime.timedelta(days=1))
               .not_valid_after(now + datetime.timedelta(days=2))
               .add_extension(x509.BasicConstraints(ca=ca, path_length=None), critical=True))
    if san:
        import ipaddress
        builder = builder.add_extension(x509.SubjectAlternativeName([x509.IPAddress(ipaddress.ip_address(san))]),
                                        critical=False)
    return builder.sign(issuer_key or subject_key, hashes.SHA256())


def pem(cert):
    return cert.public_bytes(serialization.Encoding.PEM)


def key_pem(key):
    return key.private_bytes(serialization.Encoding.PEM, serialization.PrivateFormat.PKCS8,
                             serialization.NoEncryption())


def make_signers(directory):
    """The certificates a client signs its login with, all from the authority xades-ca.pem but
    "stranger", whose authority KSeF does not know: signer-rsa (PEM key), signer-ec (PEM key
    encrypted with "haslo-klucza"), signer.p12 (password "haslo-p12")."""
    from cryptography.hazmat.primitives.asymmetric import ec
    from cryptography.hazmat.primitives.serialization import pkcs12
    ca_key = new_key()
    ca_cert = certificate(ca_key, "KSeF stand-in signing CA", ca=True)
    with open(os.path.join(directory, "xades-ca.pem"), "wb") as out:
        out.write(pem(ca_cert))
    rsa_key = new_key()
    rsa_cert = certificate(rsa_key, "Jan Kowalski TINPL-1234563218", ca_key, "KSeF stand-in signing CA")
    ec_key = ec.generate_private_key(ec.SECP256R1())
    ec_cert = certificate(ec_key, "Firma sp. z o.o. VATPL-1234563218", ca_key, "KSeF stand-in signing CA")
    other_ca_key = new_key()
    stranger_key = new_key()
    stranger_cert = certificate(stranger_key, "Obcy", other_ca_key, "Unknown CA")
    for name, key, cert, encryption in (
            ("signer-rsa", rsa_key, rsa_cert, serialization.NoEncryption()),
            ("signer-ec", ec_key, ec_cert, serialization.BestAvailableEncryption(b"haslo-klucza")),
            ("stranger", stranger_key, stranger_cert, serialization.NoEncryption())):
        with open(os.path.join(directory, name + ".crt"), "wb") as out:
            out.write(pem(cert))
        with open(os.path.join(directory, name + ".key"), "wb") as out:
            out.write(key.private_bytes(serialization.Encoding.PEM, serialization.PrivateFormat.PKCS8, encryption))
    with open(os.path.join(directory, "signer.p12"), "wb") as out:
        out.write(pkcs12.serialize_key_and_certificates(
            b"signer", rsa_key, rsa_cert, None, serialization.BestAvailableEncryption(b"haslo-p12")))


def seller_nip(index):
    # A NIP whose check digit holds, as a real seller's does (5260000028, 5260000040, ...), in
    # the order of the invoices: of two neighbours at most one gives the check digit 10.
    for base in (526000000 + 2 * index, 526000001 + 2 * index):
        digits = [int(digit) for digit in "%09d" % base]
        check = sum(weight * digit for weight, digit in zip((6, 5, 7, 2, 3, 4, 5, 6, 7), digits)) % 11
        if check != 10:
            return "%09d%d" % (base, check)


XMLDSIG = "http://www.w3.org/2000/09/xmldsig#"
XADES = "http://uri.etsi.org/01903/v1.3.2#"
DIGESTS = {"http://www.w3.org/2001/04/xmlenc#sha256": hashlib.sha256,
           "http://www.w3.org/2001/04/xmlenc#sha512": hashlib.sha512,
           "http://www.w3.org/2001/04/xmldsig-more#sha384": hashlib.sha384}


def names_signer(document):
    """Whether xades:SigningCertificate of a signature xmlsec1 found right names the certificate
    that signed it, the one in its KeyInfo: that certificate's digest, issuer and serial number."""
    import xml.etree.ElementTree as ElementTree
    ns = {"ds": XMLDSIG, "xades": XADES}
    try:
        signature = ElementTree.fromstring(document).find("ds:Signature", ns)
        der = base64.b64decode(signature.find("ds:KeyInfo/ds:X509Data/ds:X509Certificate", ns).text)
        signer = x509.load_der_x509_certificate(der)
        named = signature.findall("ds:Object/xades:QualifyingProperties/xades:SignedProperties/"
                                  "xades:SignedSignatureProperties/xades:SigningCertificate/xades:Cert", ns)
        if len(named) != 1:
            return False
        digest = DIGESTS[named[0].find("xades:CertDigest/ds:DigestMethod", ns).get("Algorithm")]
        issuer = named[0].find("xades:IssuerSerial/ds:X509IssuerName", ns).text
        serial = named[0].find("xades:IssuerSerial/ds:X509SerialNumber", ns).text
        return (base64.b64decode(named[0].find("xades:CertDigest/ds:DigestValue", ns).text) == digest(der).digest()
                and x509.Name.from_rfc4514_string(issuer) == signer.issuer
                and int(serial) == signer.serial_number)
    except (AttributeError, KeyError, TypeError, ValueError, ElementTree.ParseError):
        return False


def invoice_xml(index, number, seller_nip, buyer_nip, day):
    # FA(2) and FA(3) in turn, as KSeF holds both.
    namespace, code, variant = ((
        "http://crd.gov.pl/wzor/2023/06/29/12648/", "FA (2)", "2") if index % 2 else (
        "http://crd.gov.pl/wzor/2025/06/25/13775/", "FA (3)", "3"))
    gross_cents = (100 + index * 7) * 100 + index % 100
    gross = "%d.%02d" % divmod(gross_cents, 100)
    # Payable by transfer, with its VAT: a transfer file can be made of it.
    net = "%d.%02d" % divmod(gross_cents - 2300, 100)
    return ("""<?xml version="1.0" encoding="UTF-8"?>
<Faktura xmlns="%s">
  <Naglowek><KodFormularza kodSystemowy="%s" wersjaSchemy="1-0E">FA</KodFormularza>
    <WariantFormularza>%s</WariantFormularza><DataWytworzeniaFa>%s</DataWytworzeniaFa></Naglowek>
  <Podmiot1><DaneIdentyfikacyjne><NIP>%s</NIP><Nazwa>Dostawca %d sp. z o.o.</Nazwa></DaneIdentyfikacyjne>
    <Adres><KodKraju>PL</KodKraju><AdresL1>ul. Dostawców 1, 00-950 Warszawa</AdresL1></Adres></Podmiot1>
  <Podmiot2><DaneIdentyfikacyjne><NIP>%s</NIP><Nazwa>Nabywca</Nazwa></DaneIdentyfikacyjne></Podmiot2>
  <Fa><KodWaluty>PLN</KodWaluty><P_1>%s</P_1><P_2>FV/%d/2026</P_2><P_13_1>%s</P_13_1><P_14_1>23.00</P_14_1>
    <P_15>%s</P_15><Platnosc><FormaPlatnosci>6</FormaPlatnosci>
    <RachunekBankowy><NrRB>PL76105014586789000012345678</NrRB></RachunekBankowy></Platnosc></Fa>
</Faktura>
""" % (namespace, code, variant, iso(day), seller_nip, index, buyer_nip, day.date().isoformat(), index, net, gross)
            ).encode(), gross


def sample_invoices(directory):
    """The bytes of the XML files in `directory`, by name."""
    names = sorted(name for name in os.listdir(directory) if name.endswith(".xml"))
    if not names:
        sys.exit("ksef_standin.py: no XML files in " + directory)
    result = []
    for name in names:
        with open(os.path.join(directory, name), "rb") as source:
            result.append(source.read())
    return result


def keep_package(directory, reference, key, iv, parts):
    """Writes key and iv (hex) and part-NNN.aes of an export into directory/reference."""
    target = os.path.join(directory, reference)
    os.makedirs(target)
    for name, value in (("key", key.hex()), ("iv", iv.hex())):
        with open(os.path.join(target, name), "w") as out:
            out.write(value + "\n")
    for number, part in enumerate(parts, 1):
        with open(os.path.join(target, "part-%03d.aes" % number), "wb") as out:
            out.write(part["cipher"])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--dir", required=True)
    parser.add_argument("--log", required=True)
    parser.add_argument("--nip", required=True)
    parser.add_argument("--token", default="")
    parser.add_argument("--invoices", type=int, default=3)
    parser.add_argument("--first-date", default="2026-11-03T10:00:00Z")
    parser.add_argument("--hwm", default="2026-11-30T00:00:00Z")
    parser.add_argument("--part-size", type=int, default=700)
    parser.add_argument("--fault", action="append", default=[], choices=sorted(FAULTS))
    parser.add_argument("--samples")
    parser.add_argument("--interval", type=float, default=86400)
    parser.add_argument("--at-once", action="store_true")
    parser.add_argument("--package-dir")
    options = parser.parse_args()
    faults = set(options.fault)
    if "microseconds" in faults:
        TIMESPEC[0] = "microseconds"

    # Certificates made now, never kept beyond the test's directory.
    ca_key = new_key()
    ca_cert = certificate(ca_key, "Pavena KSeF stand-in CA", ca=True)
    server_key = new_key()
    server_cert = certificate(server_key, "127.0.0.1", ca_key, "Pavena KSeF stand-in CA", san="127.0.0.1")
    with open(os.path.join(options.dir, "ca.pem"), "wb") as out:
        out.write(pem(ca_cert))
    with open(os.path.join(options.dir, "server.pem"), "wb") as out:
        out.write(pem(server_cert) + key_pem(server_key))
    make_signers(options.dir)
    xades_ca = os.path.join(options.dir, "xades-ca.pem")
    def key_generation(serial):
        """KSeF's public-key certificates of one generation: the list as served, and the private
        key of each usage."""
        listed, private = [], {}
        for usage in ("KsefTokenEncryption", "SymmetricKeyEncryption"):
            for expired in ((True, False) if "expired-key-first" in faults else (False,)):
                key = new_key()
                cert = certificate(key, "KSeF " + usage, expired=expired)
                listed.append({
                    "certificate": base64.b64encode(cert.public_bytes(serialization.Encoding.DER)).decode(),
                    "certificateId": base64.b64encode(secrets.token_bytes(16)).decode(),
                    "publicKeyId": base64.b64encode(hashlib.sha256(
                        b"%s %d %d" % (usage.encode(), serial, expired)).digest()).decode(),
                    "validFrom": iso(cert.not_valid_before.replace(tzinfo=UTC)),
                    "validTo": iso(cert.not_valid_after.replace(tzinfo=UTC)),
                    "usage": [usage],
                })
                if not expired:
                    private[usage] = (listed[-1]["publicKeyId"], key)
        return {"listed": listed, "private": private}

    withdrawn = 2 if "key-withdrawn-twice" in faults else 1 if "key-withdrawn" in faults else 0
    generations = [key_generation(0)]
    oaep = asym_padding.OAEP(mgf=asym_padding.MGF1(algorithm=hashes.SHA256()), algorithm=hashes.SHA256(), label=None)

    # The purchase invoices of the NIP, one an interval (a day) from the first date.
    first = parse_iso(options.first_date)
    samples = sample_invoices(options.samples) if options.samples else None
    invoices = []
    for index in range(1, options.invoices + 1):
        day = first + datetime.timedelta(seconds=options.interval * (index - 1))
        if "microseconds" in faults:
            day = (invoices[1]["date"] + datetime.timedelta(microseconds=300) if index == 3 else
                   day + datetime.timedelta(microseconds=266578))
        seller = seller_nip(index)
        number = ksef_number(seller, day, 0xA1B2C3000000 + index)
        data, gross = invoice_xml(index, number, seller, options.nip, day)
        if samples:
            data = samples[(index - 1) % len(samples)]
        invoices.append({"number": number, "data": data, "date": day, "seller": seller, "gross": gross})
        os.makedirs(os.path.join(options.dir, "invoices"), exist_ok=True)
        with open(os.path.join(options.dir, "invoices", number + ".xml"), "wb") as out:
            out.write(data)
    hwm = parse_iso(options.hwm)

    lock = threading.Lock()
    state = {"challenges": {}, "auth": {}, "access": {}, "refresh": {}, "exports": {}, "parts": {},
             "fired": set(), "serial": 0, "zips": {}}
    # The first status question finds a login or an export still running, as a real one often is.
    first_poll_running = 0 if options.at_once else 1

    def once(fault):
        """True the first time a fault that fires once is met."""
        if fault in faults and fault not in state["fired"]:
            state["fired"].add(fault)
            return True
        return False

    def reference(kind):
        state["serial"] += 1
        return "%s-%s-%010X-%010X-%02X" % (datetime.date.today().strftime("%Y%m%d"), kind, state["serial"],
                                          secrets.randbits(40), secrets.randbits(8))

    def new_token(kind):
        """A new authentication, access or refresh token, also appended to --dir/tokens.log for the
        tests that search for it where it must not be."""
        token = "eyJ%s.%s" % (kind, secrets.token_urlsafe(24))
        with open(os.path.join(options.dir, "tokens.log"), "a") as log:
            log.write(token + "\n")
        return token

    def make_package(selected, key, iv):
        numbers = tuple(invoice["number"] for invoice in selected)
        if numbers not in state["zips"]:
            state["zips"][numbers] = make_zip(selected)
        plain = state["zips"][numbers]
        parts = []
        for offset in range(0, len(plain), options.part_size):
            chunk = plain[offset:offset + options.part_size]
            padder = padding.PKCS7(128).padder()
            padded = padder.update(chunk) + padder.finalize()
            encryptor = Cipher(algorithms.AES(key), modes.CBC(iv)).encryptor()
            cipher = encryptor.update(padded) + encryptor.finalize()
            parts.append({"plain": chunk, "cipher": cipher})
        return plain, parts

    def make_zip(selected):
        """The ZIP of the selected invoices; made once for the same selection (a benchmark's rounds
        are not to measure Python's deflate)."""
        buffer = io.BytesIO()
        with zipfile.ZipFile(buffer, "w", zipfile.ZIP_DEFLATED) as archive:
            for position, invoice in enumerate(selected):
                if "missing-entry" in faults and position == len(selected) - 1:
                    continue
                data = invoice["data"]
                if "changed-invoice" in faults and position == 0:
                    data = data.replace(b"Nabywca", b"Nabywca!")
                name = "../evil.xml" if "bad-entry" in faults and position == 0 else invoice["number"] + ".xml"
                archive.writestr(name, data)
            if "no-metadata" not in faults:
                metadata = {"invoices": [{
                    "ksefNumber": i["number"], "invoiceNumber": "FV/%s/2026" % i["number"][-6:],
                    "issueDate": i["date"].date().isoformat(), "invoicingDate": iso(i["date"]),
                    "acquisitionDate": iso(i["date"]), "permanentStorageDate": iso(i["date"]),
                    "seller": {"nip": i["seller"], "name": "Dostawca"},
                    "buyer": {"identifier": {"type": "Nip", "value": options.nip}, "name": "Nabywca"},
                    "netAmount": 100, "grossAmount": float(i["gross"]), "vatAmount": 23, "currency": "PLN",
                    "invoicingMode": "Online", "invoiceType": "Vat", "formCode": {},
                    "isSelfInvoicing": False, "hasAttachment": False,
                    "invoiceHash": base64.b64encode(hashlib.sha256(i["data"]).digest()).decode()}
                    for i in selected]}
                archive.writestr("_metadata.json", json.dumps(metadata))
        return buffer.getvalue()

    class Handler(http.server.BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def answer(self, status, body=None, headers=(), content_type="application/json", note=""):
            payload = b"" if body is None else body if isinstance(body, bytes) else json.dumps(body).encode()
            with open(options.log, "a") as log:
                log.write("%s %s %d%s\n" % (self.command, self.path.split("?")[0], status, note and " " + note))
            self.send_response(status)
            for name, value in headers:
                self.send_header(name, value)
            if payload or status != 204:
                self.send_header("Content-Type", content_type)
                self.send_header("Content-Length", str(len(payload)))
            self.end_headers()
            if self.stall:
                # The rest never comes: the handler waits, out of the lock, until the server ends.
                self.wfile.write(payload[:1])
                self.wfile.flush()
                return
            self.wfile.write(payload)

        stall = False

        def handle_one(self, method):
            with lock:
                self.route(method)
            if self.stall:
                threading.Event().wait()

        def problem(self, status, code, detail):
            self.answer(status, {"title": "Bad Request", "status": status, "instance": self.path,
                                 "detail": "Żądanie jest nieprawidłowe.",
                                 "errors": [{"code": code, "description": detail, "details": [detail]}],
                                 "timestamp": iso(datetime.datetime.now(UTC)), "traceId": "stand-in"},
                        content_type="application/problem+json")

        def unauthorized(self):
            self.answer(401, {"title": "Unauthorized", "status": 401, "detail": "Wymagane jest uwierzytelnienie.",
                              "timestamp": iso(datetime.datetime.now(UTC))}, content_type="application/problem+json")

        def bearer(self):
            header = self.headers.get("Authorization", "")
            return header[len("Bearer "):] if header.startswith("Bearer ") else ""

        def body(self):
            length = int(self.headers.get("Content-Length", "0"))
            return self.rfile.read(length) if length else b""

        def do_GET(self):
            self.handle_one("GET")

        def do_POST(self):
            self.handle_one("POST")

        def do_DELETE(self):
            self.handle_one("DELETE")

        def log_message(self, *args):
            pass

        def route(self, method):
            path = self.path.split("?")[0]
            body = self.body()
            if method == "GET" and path == "/v2/security/public-key-certificates":
                return self.answer(200, generations[-1]["listed"])
            if method == "POST" and path == "/v2/auth/challenge":
                now = datetime.datetime.now(UTC)
                challenge = reference("CR")
                millis = int(now.timestamp() * 1000)
                state["challenges"][challenge] = millis
                self.stall = "stalled-answer" in faults
                return self.answer(200, {"challenge": challenge, "timestamp": iso(now), "timestampMs": millis,
                                         "clientIp": "127.0.0.1"})
            if method == "POST" and path == "/v2/auth/ksef-token":
                return self.token_login(json.loads(body))
            if method == "POST" and path == "/v2/auth/xades-signature":
                return self.xades_login(body)
            match = re.fullmatch(r"/v2/auth/([0-9A-Za-z-]+)", path)
            if method == "GET" and match and match.group(1) in state["auth"]:
                return self.auth_status(state["auth"][match.group(1)])
            if method == "POST" and path == "/v2/auth/token/redeem":
                return self.redeem()
            if method == "POST" and path == "/v2/auth/token/refresh":
                return self.refresh()
            if path.startswith("/parts/"):
                return self.part(path)
            # Everything below needs the access token.
            access = self.bearer()
            if access not in state["access"]:
                return self.unauthorized()
            if state["access"][access] == "fresh" and once("expired-token"):
                state["access"][access] = "expired"
            if state["access"][access] == "expired":
                return self.unauthorized()
            if method == "DELETE" and path == "/v2/auth/sessions/current":
                del state["access"][access]
                return self.answer(204)
            if method == "POST" and path == "/v2/invoices/exports":
                return self.export(json.loads(body))
            match = re.fullmatch(r"/v2/invoices/exports/([0-9A-Za-z-]+)", path)
            if method == "GET" and match and match.group(1) in state["exports"]:
                return self.export_status(match.group(1))
            self.answer(404, {"title": "Not Found", "status": 404})

        def private_key(self, usage, key_id):
            """The private key of the public key the client chose, or None after answering 21470
            for one that is not KSeF's valid key (expired, withdrawn, unknown)."""
            for serial, generation in enumerate(generations):
                known_id, key = generation["private"][usage]
                if key_id == known_id:
                    if serial < withdrawn:
                        # Withdrawn now; the next list offers the next generation.
                        if serial == len(generations) - 1:
                            generations.append(key_generation(serial + 1))
                        break
                    return key
            self.problem(400, 21470, "Klucz nie jest wspierany.")
            return None

        def start_auth(self, outcome):
            ref = reference("AU")
            token = new_token("auth")
            state["auth"][ref] = {"token": token, "outcome": outcome, "polls": 0, "redeemed": False}
            self.answer(202, {"referenceNumber": ref, "authenticationToken": {
                "token": token, "validUntil": iso(datetime.datetime.now(UTC) + datetime.timedelta(minutes=5))}})

        def login_outcome(self):
            for code in (415, 450, 460):
                if "login-%d" % code in faults:
                    return code
            return 200

        def token_login(self, request):
            challenge = request.get("challenge")
            if challenge not in state["challenges"]:
                return self.problem(400, 21111, "Nieprawidłowe wyzwanie autoryzacyjne.")
            if request.get("contextIdentifier") != {"type": "Nip", "value": options.nip}:
                return self.problem(400, 21405, "Błąd walidacji danych wejściowych.")
            token_key = self.private_key("KsefTokenEncryption", request.get("publicKeyId"))
            if token_key is None:
                return
            try:
                plain = token_key.decrypt(base64.b64decode(request["encryptedToken"]), oaep).decode()
            except Exception:
                return self.start_auth(450)
            expected = "%s|%d" % (options.token, state["challenges"].pop(challenge))
            self.start_auth(self.login_outcome() if plain == expected else 450)

        def xades_login(self, document):
            match = re.search(rb"<Challenge>([^<]+)</Challenge>", document)
            if not match or match.group(1).decode() not in state["challenges"]:
                return self.problem(400, 21111, "Nieprawidłowe wyzwanie autoryzacyjne.")
            if b"<Nip>%s</Nip>" % options.nip.encode() not in document:
                return self.problem(400, 21117, "Nieprawidłowy identyfikator podmiotu.")
            del state["challenges"][match.group(1).decode()]
            with tempfile.NamedTemporaryFile(suffix=".xml", dir=options.dir) as signed:
                signed.write(document)
                signed.flush()
                check = subprocess.run(
                    ["xmlsec1", "--verify", "--enabled-reference-uris", "same-doc,empty",
                     "--id-attr:Id", "http://uri.etsi.org/01903/v1.3.2#:SignedProperties",
                     "--trusted-pem", xades_ca, signed.name], capture_output=True)
            if check.returncode != 0:
                sys.stderr.write(check.stderr.decode(errors="replace"))
                return self.problem(400, 9105, "Nieprawidłowy podpis.")
            if not names_signer(document):
                return self.problem(400, 9105, "Nieprawidłowy podpis.")
            self.start_auth(self.login_outcome())

        def auth_status(self, auth):
            if self.bearer() != auth["token"]:
                return self.unauthorized()
            auth["polls"] += 1
            code = 100 if auth["polls"] <= first_poll_running else auth["outcome"]
            descriptions = {100: "Uwierzytelnianie w toku", 200: "Uwierzytelnianie zakończone sukcesem"}
            self.answer(200, {"startDate": iso(datetime.datetime.now(UTC)), "authenticationMethod": "Token",
                              "authenticationMethodInfo": {"category": "Token", "code": "token.ksef",
                                                           "displayName": "Token KSeF"},
                              "status": {"code": code, "description": descriptions.get(code, "Niepowodzenie")}})

        def issue_access(self):
            token = new_token("access")
            state["access"][token] = "fresh"
            return {"token": token, "validUntil": iso(datetime.datetime.now(UTC) + datetime.timedelta(minutes=15))}

        def redeem(self):
            auth = next((a for a in state["auth"].values() if a["token"] == self.bearer()), None)
            if auth is None:
                return self.unauthorized()
            if auth["redeemed"] or auth["outcome"] != 200 or auth["polls"] <= first_poll_running:
                return self.problem(400, 21301, "Brak autoryzacji.")
            auth["redeemed"] = True
            refresh = new_token("refresh")
            state["refresh"][refresh] = True
            self.answer(200, {"accessToken": self.issue_access(), "refreshToken": {
                "token": refresh, "validUntil": iso(datetime.datetime.now(UTC) + datetime.timedelta(days=7))}})

        def refresh(self):
            if self.bearer() not in state["refresh"] or "expired-refresh" in faults:
                return self.unauthorized()
            self.answer(200, {"accessToken": self.issue_access()})

        def export(self, request):
            if once("rate-limit"):
                return self.answer(429, {"status": {"code": 429, "description": "Too Many Requests",
                                                    "details": ["Spróbuj ponownie po 7 sekundach."]}},
                                   headers=[("Retry-After", "7")])
            filters = request["filters"]
            date_range = filters["dateRange"]
            start = parse_iso(date_range["from"])
            end = parse_iso(date_range["to"]) if date_range.get("to") else hwm
            if ("range-21405" in faults or end > add_months(start, 3) or filters["subjectType"] != "Subject2"
                    or date_range["dateType"] != "PermanentStorage"):
                return self.problem(400, 21405, "Zakres dat przekracza 3 miesiące.")
            if date_range.get("restrictToPermanentStorageHwmDate"):
                end = min(end, hwm)
            encryption = request["encryption"]
            symmetric_key = self.private_key("SymmetricKeyEncryption", encryption.get("publicKeyId"))
            if symmetric_key is None:
                return
            key = symmetric_key.decrypt(base64.b64decode(encryption["encryptedSymmetricKey"]), oaep)
            iv = base64.b64decode(encryption["initializationVector"])
            selected = [i for i in invoices if start <= i["date"] <= end]
            truncated = "truncated" in faults and len(selected) > 2
            if truncated:
                selected = selected[:2]
            plain, parts = make_package(selected, key, iv)
            ref = reference("EH")
            if options.package_dir:
                keep_package(options.package_dir, ref, key, iv, parts)
            state["exports"][ref] = {"polls": 0, "parts": parts, "size": len(plain), "count": len(selected),
                                     "truncated": truncated, "last": selected[-1]["date"] if selected else None,
                                     "hwm": hwm if "hwm-beyond-to" in faults else end}
            # The range as the client sent it, after the status: "from <from> to <to or ->".
            self.answer(201, {"referenceNumber": ref},
                        note="from %s to %s" % (date_range["from"], date_range.get("to", "-")))

        def export_status(self, ref):
            export = state["exports"][ref]
            export["polls"] += 1
            if export["polls"] <= first_poll_running:
                return self.answer(200, {"status": {"code": 100, "description": "Eksport faktur w toku"}})
            port = self.server.server_address[1]
            parts = []
            for number, part in enumerate(export["parts"], 1):
                signature = secrets.token_hex(8)
                state["parts"][(ref, number)] = signature
                parts.append({
                    "ordinalNumber": number, "partName": "%s-%03d.zip.aes" % (ref, number),
                    "method": "DELETE" if "delete-part" in faults else "GET",
                    "url": "https://127.0.0.1:%d/parts/%s/%d?sig=%s" % (port, ref, number, signature),
                    "partSize": len(part["plain"]),
                    "partHash": base64.b64encode(hashlib.sha256(part["plain"]).digest()).decode(),
                    "encryptedPartSize": (1088 << 20 if number == 1 and "big-package" in faults else
                                          1229 << 20 if number == 1 and "oversize-package" in faults else
                                          len(part["cipher"])),
                    "encryptedPartHash": base64.b64encode(hashlib.sha256(part["cipher"]).digest()).decode(),
                    "expirationDate": iso(datetime.datetime.now(UTC) + datetime.timedelta(hours=1))})
            package = {"invoiceCount": export["count"],
                       "size": export["size"] + (1 if "size-mismatch" in faults else 0), "parts": parts,
                       "isTruncated": export["truncated"], "permanentStorageHwmDate": iso(export["hwm"])}
            if export["truncated"]:
                package["lastPermanentStorageDate"] = iso(export["last"])
            self.answer(200, {"status": {"code": 200, "description": "Eksport faktur zakończony sukcesem"},
                              "completedDate": iso(datetime.datetime.now(UTC)),
                              "packageExpirationDate": iso(datetime.datetime.now(UTC) + datetime.timedelta(hours=1)),
                              "package": package})

        def part(self, path):
            match = re.fullmatch(r"/parts/([0-9A-Za-z-]+)/(\d+)", path)
            signature = self.path.partition("sig=")[2]
            key = (match.group(1), int(match.group(2))) if match else None
            if key not in state["parts"] or state["parts"][key] != signature:
                return self.answer(404, b"", content_type="application/xml")
            if key[1] == 1 and once("expired-part"):
                return self.answer(403, b"<Error><Code>AuthenticationFailed</Code></Error>",
                                   content_type="application/xml")
            cipher = state["exports"][key[0]]["parts"][key[1] - 1]["cipher"]
            if key[1] == 1 and "html-part" in faults:
                return self.answer(200, b"<html><body>Przerwa techniczna</body></html>", content_type="text/html")
            if key[1] == 1 and "long-part" in faults:
                cipher += bytes(16)
            if key[1] == 1 and "corrupt-part" in faults:
                cipher = bytes([cipher[0] ^ 1]) + cipher[1:]
            self.stall = key[1] == 1 and "stalled-part" in faults
            self.answer(200, cipher, content_type="application/octet-stream")

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(os.path.join(options.dir, "server.pem"))
    server.socket = context.wrap_socket(server.socket, server_side=True)
    print("READY %d" % server.server_address[1], flush=True)
    server.serve_forever()


sys.exit(main())
