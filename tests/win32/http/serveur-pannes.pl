#!/usr/bin/perl
# Serveur de pannes minimal pour les tests WinINet (perl de base, sans module à
# installer). /entetes/N/… : N lignes d'en-tête de 1000 octets, puis un 206 complet de
# 1000 octets. Toute autre demande reçoit un 206 qui annonce 1000 octets et n'en envoie
# que 100, puis : /coupe/… ferme la connexion, /bloque/… ne dit plus rien pendant 120 s.
# Usage : serveur-pannes.pl PORT. SIGTERM arrête aussi les connexions en cours.
use strict;
use warnings;
use IO::Socket::INET;
use POSIX ();

my $port = shift or die "port ?\n";
my $ecoute = IO::Socket::INET->new(LocalAddr => '127.0.0.1', LocalPort => $port,
                                   Listen => 16, ReuseAddr => 1) or die "écoute : $!\n";
my %enfants;
$SIG{TERM} = sub { kill 'TERM', keys %enfants; exit 0 };
$SIG{CHLD} = sub { while ((my $p = waitpid(-1, POSIX::WNOHANG())) > 0) { delete $enfants{$p} } };

while (1) {
    my $client = $ecoute->accept or next;
    my $pid = fork;
    if (!defined $pid) { close $client; next }
    if ($pid) { $enfants{$pid} = 1; close $client; next }
    $SIG{TERM} = 'DEFAULT';
    my $ligne = <$client> // '';
    while (my $entete = <$client>) { last if $entete =~ /^\r?\n$/ }
    my ($chemin) = $ligne =~ m{^GET (\S+)};
    $chemin //= '';
    my $tete = "HTTP/1.1 206 Partial Content\r\nContent-Length: 1000\r\n"
             . "Content-Range: bytes 0-999/100000\r\nConnection: close\r\n";
    if ($chemin =~ m{^/entetes/(\d+)/}) {
        print $client $tete;
        print $client "X-Bourre-$_: " . ('b' x 980) . "\r\n" for 1 .. $1;
        print $client "\r\n" . ('x' x 1000);
        close $client;
        exit 0;
    }
    print $client $tete . "\r\n" . ('x' x 100);
    $client->flush;
    sleep 120 if $chemin =~ m{^/bloque/};
    close $client;
    exit 0;
}
